#include "national/risposta_inps.h"

#include "services/messaggi.h"
#include "tables/lettore_righe.h"
#include "text/documento_soap.h"
#include "text/testo.h"

#include <algorithm>

namespace meravo {

std::optional<int> stato_http(std::string_view uscite) {
    std::optional<int> stato;
    LettoreRighe righe(uscite);
    while (const auto riga = righe.prossima()) {
        // "< HTTP/1.1 503 Service Unavailable", "< HTTP/2 401"
        if (!riga->starts_with("< HTTP/")) {
            continue;
        }
        const auto spazio = riga->find(' ', 2);
        if (spazio == std::string_view::npos || riga->size() < spazio + 4) {
            continue;
        }
        const auto codice = riga->substr(spazio + 1, 3);
        if (!std::all_of(codice.begin(), codice.end(),
                         [](char c) { return c >= '0' && c <= '9'; })) {
            continue;
        }
        const int valore = (codice[0] - '0') * 100 + (codice[1] - '0') * 10 + (codice[2] - '0');
        if (valore >= 200) {
            stato = valore;
        }
    }
    return stato;
}

void avvisa_connessione_fallita(std::string_view uscite, Messaggi& messaggi) {
    // Without an error status nothing says the service itself was reached (a page of a proxy
    // or of the network's login answers 200 just as well).
    const auto stato = stato_http(uscite);
    if (!stato || *stato < 400) {
        messaggi.avvisa("Impossibile stabilire una connessione!", Icona::esclamazione);
        return;
    }
    const auto codice = " (errore HTTP " + std::to_string(*stato) + ")";
    if (*stato == 401 || *stato == 403) {
        messaggi.avvisa("Il servizio INPS ha rifiutato il nome utente o la password" + codice +
                            ": verificare le credenziali INPS del medico e riprovare.",
                        Icona::esclamazione);
    } else if (*stato >= 500 && *stato <= 599) {
        messaggi.avvisa("Il servizio INPS non \xE8 disponibile in questo momento" + codice +
                            ": riprovare pi\xF9 tardi.",
                        Icona::esclamazione);
    } else {
        messaggi.avvisa("Il servizio INPS ha dato una risposta inattesa" + codice + ".",
                        Icona::esclamazione);
    }
}

bool interpreta_risposta_invio(std::string_view risposta, Messaggi& messaggi,
                               std::string& protocollo) {
    const auto busta = trova_busta(risposta, "<soapenv", "</soapenv:Envelope>");
    if (busta.trovata) {
        const auto documento = busta.testo ? DocumentoSoap::carica(*busta.testo) : std::nullopt;
        if (!documento) {
            messaggi.avvisa("Impossibile interpretare il messaggio di risposta!",
                            Icona::esclamazione);
            return false;
        }
        protocollo.clear();
        if (testo::minuscolo(*busta.testo).find("ricevutaok") != std::string::npos) {
            protocollo = testo::rifilato(documento->testo_primo("idCertificato").value_or(""));
            return true;
        }
        for (const auto& descrizione : documento->testi_figli("errore", "descrizione")) {
            protocollo += "\r\n" + descrizione;
        }
        messaggi.mostra("Impossibile stampare il certificato per i seguenti motivi:" + protocollo,
                        titolo_predefinito, Icona::nessuna, Pulsanti::ok);
        return false;
    }
    if (avvisa_guasto(risposta, messaggi)) {
        return false;
    }
    // An envelope of this form that is not a fault says nothing the module can use.
    messaggi.avvisa("Impossibile interpretare il messaggio di risposta!", Icona::esclamazione);
    return false;
}

bool avvisa_guasto(std::string_view risposta, Messaggi& messaggi) {
    const auto guasto = trova_busta(risposta, "<env:Envelope", "</env:Envelope>");
    const auto documento =
        guasto.testo ? DocumentoSoap::carica(*guasto.testo) : std::optional<DocumentoSoap>{};
    if (!documento) {
        avvisa_connessione_fallita(risposta, messaggi);
        return true;
    }
    if (testo::minuscolo(*guasto.testo).find("<faultstring>") != std::string::npos) {
        messaggi.avvisa("Impossibile stabilire una connessione: " +
                            documento->testo_primo("faultstring").value_or(""),
                        Icona::esclamazione);
        return true;
    }
    return false;
}

} // namespace meravo
