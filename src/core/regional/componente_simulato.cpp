#include "regional/componente_simulato.h"

#include "form/frm_meravo.h"

#include <algorithm>
#include <cctype>

namespace meravo {

namespace {

constexpr std::string_view dichiarazione = R"(<?xml version="1.0" encoding="ISO-8859-1"?>)";

struct Eccezione {
    std::string descrizione;
    std::string campo;
    std::string dettaglio;
};

// The text between the first start tag and end tag of `nome`, if both are there.
std::optional<std::string> valore(std::string_view dataset, std::string_view nome,
                                  std::size_t& da) {
    const std::string apertura = "<" + std::string(nome) + ">";
    const std::string chiusura = "</" + std::string(nome) + ">";
    const auto inizio = dataset.find(apertura, da);
    if (inizio == std::string_view::npos) {
        return std::nullopt;
    }
    const auto fine = dataset.find(chiusura, inizio + apertura.size());
    if (fine == std::string_view::npos) {
        return std::nullopt;
    }
    da = fine + chiusura.size();
    return std::string(dataset.substr(inizio + apertura.size(), fine - inizio - apertura.size()));
}

bool data_valida(std::string_view data) {
    return data.size() == 8 &&
           std::all_of(data.begin(), data.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string risposta(std::string_view corpo) {
    return std::string(dichiarazione) +
           "\r\n<SOAP-ENV:Envelope "
           "xmlns:SOAP-ENV=\"http://schemas.xmlsoap.org/soap/envelope/\"><SOAP-ENV:Body>" +
           std::string(corpo) + "</SOAP-ENV:Body></SOAP-ENV:Envelope>";
}

std::string guasto(std::string_view motivo) {
    return risposta("<SOAP-ENV:Fault><faultcode>SOAP-ENV:Client</faultcode><faultstring>" +
                    std::string(motivo) + "</faultstring></SOAP-ENV:Fault>");
}

std::string errore(const std::vector<Eccezione>& eccezioni) {
    std::string corpo = "<esito><descErrore>Dati del certificato non validi</descErrore>";
    for (const auto& e : eccezioni) {
        corpo += "<eccezione><descEccezione>" + e.descrizione + "</descEccezione><nomeCampo>" +
                 e.campo + "</nomeCampo><descEccezioneCampo>" + e.dettaglio +
                 "</descEccezioneCampo></eccezione>";
    }
    return risposta(corpo + "</esito>");
}

// The elements the service expects, in this order; a missing or misplaced one is an exception.
void controlla_ordine(std::string_view dataset, const std::vector<std::string_view>& nomi,
                      std::vector<Eccezione>& eccezioni) {
    std::size_t da = 0;
    for (const auto nome : nomi) {
        da = dataset.find("<" + std::string(nome) + ">", da);
        if (da == std::string_view::npos) {
            eccezioni.push_back({"Elemento mancante o fuori posto", std::string(nome), ""});
            return;
        }
    }
}

void controlla_date(std::string_view dataset, const std::vector<std::string_view>& nomi,
                    std::vector<Eccezione>& eccezioni) {
    for (const auto nome : nomi) {
        std::size_t da = 0;
        const auto data = valore(dataset, nome, da);
        if (data && !data_valida(*data)) {
            eccezioni.push_back({"Formato non valido", std::string(nome), "Data attesa aaaammgg"});
        }
    }
}

void controlla_codice(std::string_view dataset, std::string_view nome, std::string_view ammessi,
                      std::vector<Eccezione>& eccezioni) {
    std::size_t da = 0;
    const auto codice = valore(dataset, nome, da);
    if (codice && (codice->size() != 1 || ammessi.find((*codice)[0]) == std::string_view::npos)) {
        eccezioni.push_back(
            {"Valore non ammesso", std::string(nome), "Ammessi: " + std::string(ammessi)});
    }
}

} // namespace

std::optional<std::string> ComponenteSimulato::callSebMethod(std::string& dataset) {
    ricevuti.push_back(dataset);
    if (dataset.rfind(dichiarazione, 0) != 0) {
        return guasto("Dichiarazione XML mancante");
    }
    if (dataset.find("\r\n<SOAP-ENV:Envelope ") == std::string::npos ||
        !dataset.ends_with("</SOAP-ENV:Body>\r\n</SOAP-ENV:Envelope>")) {
        return guasto("Busta SOAP non valida");
    }
    const std::vector<std::string_view> medico = {"medico", "codiceFiscale", "cognome",
                                                  "nome",   "codiceASL",     "regione"};
    std::vector<Eccezione> eccezioni;
    if (dataset.find("<m:GCM.invioCertificatoMalattia ") != std::string::npos) {
        auto ordine = medico;
        ordine.insert(ordine.begin(), {"param", "invioCertificato"});
        for (const auto nome : {"lavoratore",
                                "codiceFiscale",
                                "cognome",
                                "nome",
                                "sesso",
                                "dataNascita",
                                "idComuneNascita",
                                "comuneNascita",
                                "provinciaNascita",
                                "residenzaAbituale",
                                "indirizzo",
                                "CAP",
                                "idComune",
                                "comune",
                                "provincia",
                                "certificato",
                                "dataRilascio",
                                "dataInizio",
                                "dataFine",
                                "tipoVisita",
                                "tipoCertificato",
                                "codiceDiagnosi",
                                "noteDiagnosi"}) {
            ordine.push_back(nome);
        }
        controlla_ordine(dataset, ordine, eccezioni);
        controlla_date(dataset, {"dataNascita", "dataRilascio", "dataInizio", "dataFine"},
                       eccezioni);
        controlla_codice(dataset, "tipoVisita", "AD", eccezioni);
        controlla_codice(dataset, "tipoCertificato", "ICR", eccezioni);
        if (!eccezioni.empty()) {
            return errore(eccezioni);
        }
        ++protocolli_assegnati_;
        return risposta("<esito><protocolloINPS>" + std::to_string(900000 + protocolli_assegnati_) +
                        "</protocolloINPS></esito>");
    }
    if (dataset.find("<m:GCM.cancellaCertificatoMalattia ") != std::string::npos) {
        auto ordine = medico;
        ordine.insert(ordine.begin(), {"param", "cancellaCertificato"});
        for (const auto nome :
             {"lavoratore", "codiceFiscale", "certificato", "protocolloDaCancellare"}) {
            ordine.push_back(nome);
        }
        controlla_ordine(dataset, ordine, eccezioni);
        std::size_t da = 0;
        const auto protocollo = valore(dataset, "protocolloDaCancellare", da);
        if (protocollo && protocollo->empty()) {
            eccezioni.push_back(
                {"Valore obbligatorio", "protocolloDaCancellare", "Protocollo mancante"});
        }
        return eccezioni.empty() ? risposta("<esito><annullato>S</annullato></esito>")
                                 : errore(eccezioni);
    }
    return guasto("Operazione sconosciuta");
}

std::unique_ptr<ComponenteRegionale> crea_componente_regionale(const ServiziForm& servizi,
                                                               bool modo_test) {
    // The stand-in answers every send with a protocol: on an installation that is not marked for
    // the test service, a variable set by mistake would print and archive as sent a certificate
    // that never left the surgery.
    if (modo_test && servizi.ambiente &&
        servizi.ambiente("MERAVO_SISS_SIMULATO") == std::optional<std::string>("1")) {
        return std::make_unique<ComponenteSimulato>();
    }
    return crea_componente_di_sistema();
}

} // namespace meravo
