// libFuzzer target: the exchange file as the calling program hands it over. Beyond reading any
// bytes safely, the archive must travel back: the records read, passed in again as the caller
// does on the next start, give the same archive in the same order; and the browser's list entry
// of every well-formed key leads back to that key.
#include "exchange/archivio_certificati.h"
#include "exchange/file_input.h"
#include "exchange/record_certificato.h"
#include "tables/file_cifrato.h"

#include "servizi_fuzz.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

using namespace meravo;
using fuzz::esigi;

bool senza_a_capo(const DatiInput& d) {
    for (const auto* campo :
         {&d.direttorio_tabelle, &d.nome_medico, &d.cod_reg_medico, &d.asl_medico, &d.cognome,
          &d.nome, &d.txt_cf, &d.dt_nascita, &d.comune_nascita, &d.provincia_nascita, &d.sesso,
          &d.residenza_via, &d.residenza_cap, &d.residenza_comune, &d.residenza_provincia,
          &d.utente, &d.password, &d.cf_medico}) {
        if (campo->find('\n') != std::string::npos) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n) {
    const std::string_view testo(reinterpret_cast<const char*>(dati), n);
    DatiInput letti;
    ArchivioCertificati archivio;
    interpreta_file_input(testo, letti, archivio);
    esigi(senza_a_capo(letti));

    std::string di_nuovo;
    for (const auto& chiave : archivio.chiavi()) {
        const auto record = archivio.leggi(chiave);
        esigi(record && record_certificato::chiave(*record) == chiave);
        esigi(record->find('\n') == std::string::npos);
        record_certificato::campi(*record);
        if (chiave.size() == 14) {
            const auto elenco = record_certificato::elenco_da_chiave(chiave);
            esigi(record_certificato::chiave_da_elenco(elenco) == chiave);
        }
        di_nuovo += "000certificato=" + *record + "\r\n";
    }

    DatiInput riletti;
    ArchivioCertificati secondo;
    interpreta_file_input(di_nuovo, riletti, secondo);
    esigi(secondo.chiavi() == archivio.chiavi());
    for (const auto& chiave : archivio.chiavi()) {
        esigi(secondo.leggi(chiave) == archivio.leggi(chiave));
    }
    // The return file holds every record on its own line, or says that there is none.
    std::vector<std::string> righe;
    for (const auto& chiave : archivio.chiavi()) {
        righe.push_back(*archivio.leggi(chiave));
    }
    if (righe.empty()) {
        righe.push_back("vuoto");
    }
    esigi(righe_di(archivio.testo_file_scambio()) == righe);
    return 0;
}
