#include "national/richiesta_annullamento.h"
#include "national/risposta_annullamento.h"
#include "text/documento_soap.h"
#include "text/namespace_soap.h"

#include "doppi/doppi.h"

#include <gtest/gtest.h>

namespace meravo {
namespace {

TEST(RichiestaAnnullamento, DieciRigheEValoriSempreInEscape) {
    const std::string pin = "a'b\"c", cf = "<CF&>", id = "ID\xE8 1";
    const auto richiesta = componi_richiesta_annullamento(pin, cf, id);
    EXPECT_EQ(richiesta.rfind("<SOAP-ENV:Envelope xmlns:SOAP-ENV='", 0), 0U);
    EXPECT_NE(richiesta.substr(richiesta.size() - 2), "\r\n");
    std::size_t righe = 1;
    for (std::size_t p = 0; (p = richiesta.find("\r\n", p)) != std::string::npos; p += 2) {
        ++righe;
    }
    EXPECT_EQ(righe, 10U);
    // Nothing typed can close an attribute of the request or its command-line quoting.
    EXPECT_EQ(richiesta.find('"'), std::string::npos);
    const auto documento = DocumentoSoap::carica(richiesta);
    ASSERT_TRUE(documento.has_value()) << richiesta;
    EXPECT_EQ(documento->testo_primo("pincodeMedico"), pin);
    EXPECT_EQ(documento->testo_primo("codiceFiscaleLavoratore"), cf);
    EXPECT_EQ(documento->testo_primo("idCertificato"), id);
    const std::string ns(namespace_soap::NS_ANNULLA_REQUEST);
    EXPECT_NE(richiesta.find("<idCertificato xmlns='" + ns + "'>"), std::string::npos);
    EXPECT_NE(richiesta.find("\r\n<AnnullamentoCertificato xmlns='" + ns + "'>\r\n"),
              std::string::npos);
}

const std::string busta = "<?xml version='1.0'?><soapenv:Envelope xmlns:soapenv='s'>"
                          "<soapenv:Body><ns2:AnnullamentoCertificatoResponse xmlns:ns2='r'>";
const std::string fine = "</ns2:AnnullamentoCertificatoResponse></soapenv:Body></soapenv:Envelope>";

std::string errore(const std::string& tipo, const std::string& descrizione) {
    return "<ns2:errore><ns2:tipoErrore>" + tipo + "</ns2:tipoErrore><ns2:descrizione>" +
           descrizione + "</ns2:descrizione></ns2:errore>";
}

std::string ko(const std::string& errori) {
    return busta + "<ns2:ricevutaAnnullamentoKO>" + errori + "</ns2:ricevutaAnnullamentoKO>" + fine;
}

const std::string non_trovato = "Certificato non trovato su server centrale. Eliminarlo in locale?";
const std::string gia_annullato =
    "Certificato gi\xE0 annullato su server centrale. Eliminarlo in locale?";
const std::string motivi = "Impossibile eliminare il certificato per i seguenti motivi:";
const std::string interpretare = "Impossibile interpretare il messaggio di risposta!";
const std::string connessione = "Impossibile stabilire una connessione!";

TEST(RispostaAnnullamento, OgniRegolaConLeSueDomandeEMessaggi) {
    const struct {
        std::string caso;
        std::string risposta;
        std::deque<Risposta> risposte;
        bool atteso;
        std::string messaggio; // empty: none shown
        Icona icona;
        Pulsanti pulsanti;
        std::string protocollo;
    } casi[] = {
        {"ricevuta",
         "HTTP/1.1 200 OK\r\n\r\n" + busta +
             "<ns2:ricevutaAnnullamentoOK><ns2:idAnnullamento> A-7 "
             "</ns2:idAnnullamento></ns2:ricevutaAnnullamentoOK>" +
             fine,
         {},
         true,
         "",
         Icona::nessuna,
         Pulsanti::ok,
         "A-7"},
        {"ricevuta senza id",
         busta + "<RicevutaOK/>" + fine,
         {},
         true,
         "",
         Icona::nessuna,
         Pulsanti::ok,
         ""},
        {"102 si",
         ko(errore("102", "Non trovato")),
         {Risposta::si},
         true,
         non_trovato,
         Icona::nessuna,
         Pulsanti::si_no,
         "\r\nNon trovato"},
        {"102 no",
         ko(errore("102", "Non trovato")),
         {Risposta::no},
         false,
         non_trovato,
         Icona::nessuna,
         Pulsanti::si_no,
         "\r\nNon trovato"},
        {"105 poi 400: vince l'ultimo",
         ko(errore("105", "a") + errore("400", "b")),
         {Risposta::si},
         true,
         non_trovato,
         Icona::nessuna,
         Pulsanti::si_no,
         "\r\na\r\nb"},
        {"400 poi 105: vince l'ultimo",
         ko(errore("400", "a") + errore("105", "b")),
         {Risposta::no},
         false,
         gia_annullato,
         Icona::nessuna,
         Pulsanti::si_no,
         "\r\na\r\nb"},
        {"105 poi 101: la domanda resta",
         ko(errore("105", "a") + errore("101", "PIN")),
         {Risposta::si},
         true,
         gia_annullato,
         Icona::nessuna,
         Pulsanti::si_no,
         "\r\na\r\nPIN"},
        {"errori senza domanda",
         ko(errore("101", "PIN errato") +
            "<ns2:errore><ns2:tipoErrore>104</ns2:tipoErrore>"
            "</ns2:errore>" +
            errore("", "perch\xC3\xA8")),
         {},
         false,
         motivi + "\r\nPIN errato\r\n\r\nperch\xE8",
         Icona::nessuna,
         Pulsanti::ok,
         "\r\nPIN errato\r\n\r\nperch\xE8"},
        {"nessun errore", ko(""), {}, false, motivi, Icona::nessuna, Pulsanti::ok, ""},
        {"non interpretabile",
         busta + "<aperto>" + fine,
         {},
         false,
         interpretare,
         Icona::esclamazione,
         Pulsanti::ok,
         ""},
        {"busta senza chiusura",
         busta + "<ns2:ricevutaAnnullamentoOK/>",
         {},
         false,
         interpretare,
         Icona::esclamazione,
         Pulsanti::ok,
         ""},
        {"guasto",
         "<env:Envelope xmlns:env='s'><env:Body><env:Fault><faultcode>env:Server</faultcode>"
         "<faultstring>Archivio non scrivibile</faultstring></env:Fault></env:Body>"
         "</env:Envelope>",
         {},
         false,
         "Impossibile stabilire una connessione: Archivio non scrivibile",
         Icona::esclamazione,
         Pulsanti::ok,
         ""},
        {"seconda forma senza guasto",
         "<env:Envelope xmlns:env='s'><env:Body/></env:Envelope>",
         {},
         false,
         interpretare,
         Icona::esclamazione,
         Pulsanti::ok,
         ""},
        {"seconda forma illeggibile",
         "<env:Envelope><a></env:Envelope>",
         {},
         false,
         connessione,
         Icona::esclamazione,
         Pulsanti::ok,
         ""},
        {"nessuna busta",
         "curl: (7) Failed to connect to 127.0.0.1",
         {},
         false,
         connessione,
         Icona::esclamazione,
         Pulsanti::ok,
         ""},
    };
    for (const auto& c : casi) {
        prova::MessaggiRegistrati messaggi;
        messaggi.risposte = c.risposte;
        std::string protocollo = "vecchio";
        EXPECT_EQ(interpreta_risposta_annullamento(c.risposta, messaggi, protocollo), c.atteso)
            << c.caso;
        EXPECT_EQ(protocollo, c.protocollo) << c.caso;
        if (c.messaggio.empty()) {
            EXPECT_TRUE(messaggi.mostrati.empty()) << c.caso;
            continue;
        }
        ASSERT_EQ(messaggi.mostrati.size(), 1U) << c.caso;
        EXPECT_EQ(messaggi.mostrati[0].testo, c.messaggio) << c.caso;
        EXPECT_EQ(messaggi.mostrati[0].icona, c.icona) << c.caso;
        EXPECT_EQ(messaggi.mostrati[0].pulsanti, c.pulsanti) << c.caso;
        EXPECT_EQ(messaggi.mostrati[0].titolo, titolo_predefinito) << c.caso;
    }
}

} // namespace
} // namespace meravo
