#include "national/risposta_annullamento.h"

#include "doppi/doppi.h"

#include <gtest/gtest.h>

namespace meravo {
namespace {

const std::string busta = "<?xml version='1.0'?><soapenv:Envelope xmlns:soapenv='s'>"
                          "<soapenv:Body><ns2:AnnullamentoCertificatoResponse xmlns:ns2='r'>";
const std::string fine = "</ns2:AnnullamentoCertificatoResponse></soapenv:Body></soapenv:Envelope>";

std::string ko(std::initializer_list<std::pair<std::string, std::string>> errori) {
    std::string testo;
    for (const auto& [tipo, descrizione] : errori) {
        testo += "<ns2:errore><ns2:tipoErrore>" + tipo + "</ns2:tipoErrore><ns2:descrizione>" +
                 descrizione + "</ns2:descrizione></ns2:errore>";
    }
    return busta + "<ns2:ricevutaAnnullamentoKO>" + testo + "</ns2:ricevutaAnnullamentoKO>" + fine;
}

TEST(RispostaAnnullamento, OgniRegolaConLeSueDomandeEMessaggi) {
    const std::string non_trovato =
        "Certificato non trovato su server centrale. Eliminarlo in locale?";
    const std::string gia_annullato =
        "Certificato gi\xE0 annullato su server centrale. Eliminarlo in locale?";
    const std::string motivi = "Impossibile eliminare il certificato per i seguenti motivi:";
    const std::string interpretare = "Impossibile interpretare il messaggio di risposta!";
    const std::string connessione = "Impossibile stabilire una connessione!";
    const std::string fault = "<env:Envelope xmlns:env='s'><env:Body><env:Fault><faultcode>"
                              "env:Server</faultcode><faultstring>Archivio non scrivibile"
                              "</faultstring></env:Fault></env:Body></env:Envelope>";
    const std::string ricevuta = "HTTP/1.1 200 OK\r\n\r\n" + busta +
                                 "<ns2:ricevutaAnnullamentoOK><ns2:idAnnullamento> A-7 "
                                 "</ns2:idAnnullamento></ns2:ricevutaAnnullamentoOK>" +
                                 fine;
    // An error without a description, one without a type, an accent in UTF-8.
    const std::string misti =
        busta +
        "<ns2:ricevutaAnnullamentoKO><ns2:errore><ns2:tipoErrore>101</ns2:tipoErrore>"
        "<ns2:descrizione>PIN errato</ns2:descrizione></ns2:errore><ns2:errore>"
        "<ns2:tipoErrore>104</ns2:tipoErrore></ns2:errore><ns2:errore><ns2:descrizione>"
        "perch\xC3\xA8</ns2:descrizione></ns2:errore></ns2:ricevutaAnnullamentoKO>" +
        fine;
    const struct {
        std::string risposta;
        std::optional<Risposta> domanda; // the doctor's answer, when a question is expected
        bool atteso;
        std::string messaggio; // empty: none shown
        std::string protocollo;
    } casi[] = {
        {ricevuta, {}, true, "", "A-7"},
        {busta + "<RicevutaOK/>" + fine, {}, true, "", ""},
        {ko({{"102", "Non trovato"}}), Risposta::si, true, non_trovato, "\r\nNon trovato"},
        {ko({{"102", "Non trovato"}}), Risposta::no, false, non_trovato, "\r\nNon trovato"},
        // With several errors the last one that asks decides the question.
        {ko({{"105", "a"}, {"400", "b"}}), Risposta::si, true, non_trovato, "\r\na\r\nb"},
        {ko({{"400", "a"}, {"105", "b"}}), Risposta::no, false, gia_annullato, "\r\na\r\nb"},
        {ko({{"105", "a"}, {"101", "PIN"}}), Risposta::si, true, gia_annullato, "\r\na\r\nPIN"},
        {misti,
         {},
         false,
         motivi + "\r\nPIN errato\r\n\r\nperch\xE8",
         "\r\nPIN errato\r\n\r\nperch\xE8"},
        {ko({}), {}, false, motivi, ""},
        {busta + "<aperto>" + fine, {}, false, interpretare, ""},
        {busta + "<ns2:ricevutaAnnullamentoOK/>", {}, false, interpretare, ""}, // never closed
        {fault, {}, false, "Impossibile stabilire una connessione: Archivio non scrivibile", ""},
        {"<env:Envelope xmlns:env='s'><env:Body/></env:Envelope>", {}, false, interpretare, ""},
        {"<env:Envelope><a></env:Envelope>", {}, false, connessione, ""},
        {"curl: (7) Failed to connect to 127.0.0.1", {}, false, connessione, ""},
    };
    for (const auto& c : casi) {
        prova::MessaggiRegistrati messaggi;
        if (c.domanda) {
            messaggi.risposte = {*c.domanda};
        }
        std::string protocollo = "vecchio";
        EXPECT_EQ(interpreta_risposta_annullamento(c.risposta, messaggi, protocollo), c.atteso)
            << c.risposta;
        EXPECT_EQ(protocollo, c.protocollo) << c.risposta;
        ASSERT_EQ(messaggi.mostrati.size(), c.messaggio.empty() ? 0U : 1U) << c.risposta;
        if (!c.messaggio.empty()) {
            const auto& m = messaggi.mostrati[0];
            // Service errors are plain text; what the module could not read is a warning.
            const bool avviso =
                c.messaggio.starts_with("Impossibile stabilire") || c.messaggio == interpretare;
            EXPECT_EQ(m.testo, c.messaggio);
            EXPECT_EQ(m.icona, avviso ? Icona::esclamazione : Icona::nessuna) << c.risposta;
            EXPECT_EQ(m.pulsanti, c.domanda ? Pulsanti::si_no : Pulsanti::ok) << c.risposta;
            EXPECT_EQ(m.titolo, titolo_predefinito);
        }
    }
}

} // namespace
} // namespace meravo
