// libFuzzer target: the exchange file as the calling program hands it over. Beyond reading any
// bytes safely, the archive must travel back: the records read, passed in again as the caller
// does on the next start, give the same archive in the same order; and the browser's list entry
// of every well-formed key leads back to that key.
#include "exchange/archivio_certificati.h"
#include "exchange/file_input.h"
#include "exchange/record_certificato.h"
#include "tables/file_cifrato.h"

#include "servizi_fuzz.h"

MERAVO_FUZZ(testo) {
    using namespace meravo;
    using fuzz::esigi;
    DatiInput letti;
    ArchivioCertificati archivio;
    interpreta_file_input(testo, letti, archivio);
    for (const auto* campo :
         {&letti.direttorio_tabelle, &letti.nome_medico, &letti.cod_reg_medico, &letti.asl_medico,
          &letti.cognome, &letti.nome, &letti.txt_cf, &letti.dt_nascita, &letti.comune_nascita,
          &letti.provincia_nascita, &letti.sesso, &letti.residenza_via, &letti.residenza_cap,
          &letti.residenza_comune, &letti.residenza_provincia, &letti.utente, &letti.password,
          &letti.cf_medico}) {
        esigi(campo->find('\n') == std::string::npos);
    }

    std::string di_nuovo;
    std::vector<std::string> righe; // the return file: every record on its own line
    for (const auto& chiave : archivio.chiavi()) {
        const auto record = archivio.leggi(chiave);
        esigi(record && record_certificato::chiave(*record) == chiave);
        esigi(record->find('\n') == std::string::npos);
        record_certificato::campi(*record);
        record_certificato::elenco_da_chiave(chiave);
        di_nuovo += "000certificato=" + *record + "\r\n";
        righe.push_back(*record);
    }
    DatiInput riletti;
    ArchivioCertificati secondo;
    interpreta_file_input(di_nuovo, riletti, secondo);
    esigi(secondo.chiavi() == archivio.chiavi());
    for (const auto& chiave : archivio.chiavi()) {
        esigi(secondo.leggi(chiave) == archivio.leggi(chiave));
    }
    // ... or says that there is none.
    esigi(righe_di(archivio.testo_file_scambio()) ==
          (righe.empty() ? std::vector<std::string>{"vuoto"} : righe));
}
