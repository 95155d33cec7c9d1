#include "national/invio_inps.h"

#include "form/frm_meravo.h"
#include "national/richiesta_inps.h"
#include "national/risposta_inps.h"
#include "tables/file_interi.h"
#include "tables/lettore_righe.h"
#include "text/testo.h"

namespace meravo {

InvioInps::InvioInps(frm_Meravo& form)
    : form_(form),
      trasporto_(form.servizi().cartella_programma, form.servizi().cartella_temporanea,
                 form.servizi().messaggi, form.servizi().orologio, form.servizi().pompa) {}

RispostaServizio InvioInps::invia_messaggio_soap(const std::string& messaggio_soap,
                                                 const std::string& endpoint_soap) {
    DatiCurl dati;
    dati.cartella_programma = form_.servizi().cartella_programma;
    dati.modo_test = form_.modo_test;
    dati.utente = testo::rifilato(form_.utente.Text);
    dati.password = testo::rifilato(form_.password.Text);
    dati.endpoint = endpoint_soap;
    dati.richiesta = messaggio_soap;
    return trasporto_.invia_messaggio_soap(dati);
}

std::string senza_credenziali(std::string_view traccia) {
    constexpr std::string_view intestazione = "authorization:";
    std::string copia;
    copia.reserve(traccia.size());
    LettoreRighe righe(traccia);
    std::size_t letto = 0;
    while (const auto riga = righe.prossima()) {
        const auto fine = righe.posizione();
        // Whatever follows the header's name on its line is the credential.
        const auto nome = testo::minuscolo(*riga).find(intestazione);
        copia += nome == std::string::npos
                     ? std::string(*riga)
                     : std::string(riga->substr(0, nome + intestazione.size())) + " ***";
        copia += traccia.substr(letto + riga->size(), fine - letto - riga->size());
        letto = fine;
    }
    return copia;
}

EsitoInvio InvioInps::invia_certificato_inps() {
    auto dati = dati_richiesta_invio(form_);
    dati.pincode = cripta_stringa(dati.pincode);
    dati.codice_fiscale = cripta_stringa(dati.codice_fiscale);
    const auto richiesta = componi_richiesta_invio(dati);
    const auto& cartella = form_.servizi().cartella_programma;
    // Copies for support staff; a folder the user cannot write to must not stop the send.
    scrivi_file_intero(cartella / "invio.txt", richiesta + "\r\n", Accesso::solo_utente);
    const auto risposta = invia_messaggio_soap(richiesta, form_.endpoint_invio);
    scrivi_file_intero(cartella / "risposta.txt",
                       senza_credenziali(risposta.traccia) + risposta.corpo + "\r\n" +
                           (form_.modo_test ? "True" : "False") + "\r\n",
                       Accesso::solo_utente);
    return interpreta_risposta_invio(risposta, form_.servizi().messaggi, form_.protocollo);
}

void collega_invio_nazionale(frm_Meravo& form, InvioInps& invio) {
    form.invio_nazionale = [&invio] { return invio.invia_certificato_inps(); };
    form.cifra_cf = [&form] {
        const auto& servizi = form.servizi();
        const auto sogei = strumenti_sogei::cartella(servizi.cartella_programma);
        if (servizi.avvia_senza_attendere) {
            servizi.avvia_senza_attendere(
                riga_comando_cifra(servizi.cartella_programma, sogei / "CF.txt", sogei / "CF.enc"));
        }
    };
}

} // namespace meravo
