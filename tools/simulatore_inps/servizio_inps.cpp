#include "servizio_inps.h"

#include "regole_certificato.h"
#include "risposte_soap.h"
#include "testo_simulatore.h"

namespace meravo::simulatore {

namespace {

constexpr std::string_view nome_invio = "InvioCertificato";
constexpr std::string_view nome_annullamento = "AnnullamentoCertificato";

RispostaServizio fault(VoceRegistro voce, std::string_view codice, const std::string& testo) {
    voce.esito("fault");
    voce.testo("faultstring", testo);
    return {500, risposte_soap::fault(codice, testo), std::move(voce), "fault " + testo};
}

RispostaServizio richiesta_malformata(VoceRegistro voce, const RichiestaLetta& richiesta) {
    std::string testo;
    for (const auto& difetto : richiesta.difetti) {
        testo += (testo.empty() ? "" : "; ") + difetto;
    }
    return fault(std::move(voce), richiesta.codice_fault, testo);
}

std::string elenco_tipi(const std::vector<ErroreServizio>& errori) {
    std::string elenco;
    for (const auto& errore : errori) {
        elenco += (elenco.empty() ? "" : " ") + std::string(errore.tipo);
    }
    return elenco;
}

const char* archivio_non_scrivibile = "Archivio del simulatore non scrivibile";

} // namespace

ServizioInps::Credenziali
ServizioInps::controlla_credenziali(const RichiestaLetta& richiesta, const std::string& pin,
                                    const std::string& codice_fiscale, VoceRegistro& voce,
                                    std::vector<ErroreServizio>& errori) const {
    Credenziali credenziali;
    const auto pin_chiaro = chiave_.decifra(richiesta.valore(pin));
    credenziali.pin_corretto = pin_chiaro && uguali_riservati(*pin_chiaro, pin_);
    voce.vero_falso("pinCorretto", credenziali.pin_corretto);
    if (!credenziali.pin_corretto) {
        errori.push_back(errori::pin);
    }
    const auto cf_chiaro = chiave_.decifra(richiesta.valore(codice_fiscale));
    if (cf_chiaro) {
        voce.testo("codiceFiscale", in_utf8(*cf_chiaro));
    }
    if (cf_chiaro && codice_fiscale_valido(*cf_chiaro)) {
        credenziali.codice_fiscale = *cf_chiaro;
    } else {
        errori.push_back(errori::codice_fiscale);
    }
    for (const auto& [percorso, valore] : richiesta.valori) {
        if (percorso != pin && percorso != codice_fiscale) {
            voce.campo(percorso, valore);
        }
    }
    return credenziali;
}

RispostaServizio ServizioInps::invio(std::string_view corpo) {
    VoceRegistro voce(nome_invio);
    const auto richiesta = leggi_richiesta(corpo, schema_invio_certificato());
    if (!richiesta.valida()) {
        return richiesta_malformata(std::move(voce), richiesta);
    }
    std::vector<ErroreServizio> errori;
    const auto credenziali = controlla_credenziali(richiesta, "medico/pincode",
                                                   "lavoratore/codiceFiscale", voce, errori);
    const auto del_certificato = errori_certificato(richiesta);
    errori.insert(errori.end(), del_certificato.begin(), del_certificato.end());
    if (!errori.empty()) {
        voce.esito("errori");
        voce.errori(errori);
        return {200, risposte_soap::errori_invio(errori), std::move(voce),
                "errori " + elenco_tipi(errori)};
    }
    const auto id = stato_.emetti(*credenziali.codice_fiscale);
    if (!id) {
        return fault(std::move(voce), "Server", archivio_non_scrivibile);
    }
    voce.esito("ricevuta");
    voce.testo("idCertificato", *id);
    return {200, risposte_soap::ricevuta_invio(*id), std::move(voce),
            "ricevuta idCertificato " + *id};
}

RispostaServizio ServizioInps::annullamento(std::string_view corpo) {
    VoceRegistro voce(nome_annullamento);
    const auto richiesta = leggi_richiesta(corpo, schema_annullamento_certificato());
    if (!richiesta.valida()) {
        return richiesta_malformata(std::move(voce), richiesta);
    }
    std::vector<ErroreServizio> errori;
    const auto credenziali =
        controlla_credenziali(richiesta, "pincodeMedico", "codiceFiscaleLavoratore", voce, errori);
    // With credentials that do not hold, nothing is told about the certificate.
    if (errori.empty()) {
        const auto esito =
            stato_.annulla(richiesta.valore("idCertificato"), *credenziali.codice_fiscale);
        switch (esito.esito) {
        case StatoServizio::Esito::annullato:
            voce.esito("ricevuta");
            voce.testo("idAnnullamento", esito.id_annullamento);
            return {200, risposte_soap::ricevuta_annullamento(esito.id_annullamento),
                    std::move(voce), "ricevuta idAnnullamento " + esito.id_annullamento};
        case StatoServizio::Esito::sconosciuto:
            errori.push_back(errori::certificato_sconosciuto);
            break;
        case StatoServizio::Esito::altro_lavoratore:
            errori.push_back(errori::altro_lavoratore);
            break;
        case StatoServizio::Esito::gia_annullato:
            errori.push_back(errori::gia_annullato);
            break;
        case StatoServizio::Esito::non_salvato:
            return fault(std::move(voce), "Server", archivio_non_scrivibile);
        }
    }
    voce.esito("errori");
    voce.errori(errori);
    return {200, risposte_soap::errori_annullamento(errori), std::move(voce),
            "errori " + elenco_tipi(errori)};
}

} // namespace meravo::simulatore
