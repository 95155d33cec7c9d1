#include "national/invio_inps.h"
#include "national/richiesta_annullamento.h"
#include "national/richiesta_inps.h"
#include "national/risposta_annullamento.h"
#include "national/risposta_inps.h"
#include "national/trasporto_inps.h"
#include "text/documento_soap.h"
#include "text/xml.h"

#include "doppi/doppi.h"

#include <gtest/gtest.h>

namespace meravo {
namespace {

DatiRichiestaInvio completa() {
    return {
        "PINB64",   "030",    "308", "CFB64",      "Via Roma 1",
        "20121",    "Milano", "MI",  "c/o Rossi",  "Via Po 2",
        "",         "Monza",  "MB",  "05/01/2024", "05/01/2024",
        "1/2/2024", 1,        2,     "487.1",      "Dolore \"acuto\" & 'febbre' <38\xB0 > ieri"};
}

TEST(RichiestaInps, RigaPerRigaConLeRigheCondizionali) {
    EXPECT_EQ(componi_richiesta_invio(completa()),
              prova::documento_atteso(MERAVO_ATTESI "/richiesta_invio.xml"));

    auto d = completa();
    d.nominativo_via = "  ";
    d.codice_diagnosi = "";
    auto r = componi_richiesta_invio(d);
    EXPECT_EQ(r.find("indirizzoDiReperibilita"), std::string::npos);
    EXPECT_EQ(r.find("codiceDiagnosi"), std::string::npos);
    EXPECT_NE(r.find("noteDiagnosi"), std::string::npos);

    d = completa();
    d.nominativo = "";
    d.note_diagnosi = " ";
    d.opt_visita = d.opt_tipo = 0;
    r = componi_richiesta_invio(d);
    EXPECT_EQ(r.find("<cognome"), std::string::npos);
    EXPECT_EQ(r.find("noteDiagnosi"), std::string::npos);
    for (const auto* parte : {"<indirizzo xmlns", ">A</visita>", ">I</tipoCertificato>"}) {
        EXPECT_NE(r.find(parte), std::string::npos) << parte;
    }
    d.opt_tipo = 1; // Continuazione
    EXPECT_NE(componi_richiesta_invio(d).find(">C</tipoCertificato>"), std::string::npos);
}

TEST(RichiestaInps, DateEdEscape) {
    // A date of another length ("1/2/2024") is the expected request's empty end date.
    EXPECT_EQ(data_iso(" 31/12/2024 "), "2024-12-31");
    EXPECT_EQ(testo::escape_xml("a'b\x01\x80\xE8\tc\r\n"), "a&apos;b &#8364;&#232;\tc&#13;\n");
}

TEST(RichiestaAnnullamento, ValoriSempreInEscape) {
    const std::string pin = "a'b\"c", cf = "<CF&>", id = "ID\xE8 1";
    const auto richiesta = componi_richiesta_annullamento(pin, cf, id);
    // Nothing typed can close an attribute of the request or its command-line quoting.
    EXPECT_EQ(richiesta.find('"'), std::string::npos);
    const auto documento = DocumentoSoap::carica(richiesta);
    ASSERT_TRUE(documento.has_value()) << richiesta;
    EXPECT_EQ(documento->testo_primo("pincodeMedico"), pin);
    EXPECT_EQ(documento->testo_primo("codiceFiscaleLavoratore"), cf);
    EXPECT_EQ(documento->testo_primo("idCertificato"), id);
    EXPECT_EQ(componi_richiesta_annullamento("P", "C", "1"),
              prova::documento_atteso(MERAVO_ATTESI "/richiesta_annullamento.xml"));
}

TEST(TrasportoInps, RigheDiComando) {
#ifdef _WIN32
    const std::filesystem::path p = "C:\\Program Files\\Meravo";
    const std::string s = "C:\\Program Files\\Meravo\\Sogei\\";
    const std::string curl = "Curl", openssl = "openssl.exe", l = s + "lavoro-1\\", capath;
#else
    const std::filesystem::path p = "/opt/Meravo Studio";
    const std::string s = "/opt/Meravo Studio/Sogei/";
    const std::string curl = "curl", openssl = "openssl", l = s + "lavoro-1/";
    const std::string capath = " --capath \"" + s + "lavoro-1\"";
#endif
    DatiCurl d{p, false, "medico:1", "pa\\ss \"word\"\n", "https://h/x", "<a b='1'>\r\n</a>"};
    EXPECT_EQ(riga_comando_curl(d, p / "Sogei" / "lavoro-1"),
              "\"" + s + curl +
                  "\" -q --verbose --silent --show-error --globoff --http1.1 --proto =https "
                  "--connect-timeout 20 --max-time 180 --max-filesize 8388608 --cacert \"" +
                  s + "mirservice_produzione.pem\"" + capath + " --basic --config \"" + l +
                  "credenziali.cfg\" --url https://h/x --data-binary \"@" + l +
                  "richiesta.xml\" --output \"" + l + "risposta.xml\" --stderr \"" + l +
                  "traccia.txt\" --write-out \"%{http_code} %{size_upload}\"");
    EXPECT_EQ(configurazione_curl(d), "user = \"medico:1:pa\\\\ss \\\"word\\\"\\n\"\n");
    d.modo_test = true;
    EXPECT_NE(riga_comando_curl(d, "c").find("mirCa.pem\""), std::string::npos);
    EXPECT_EQ(riga_comando_cifra(p, p / "Sogei" / "stringa.txt", p / "Sogei" / "stringa.enc"),
              "\"" + s + openssl + "\" rsautl -encrypt -in \"" + s + "stringa.txt\" -out \"" + s +
                  "stringa.enc\" -inkey \"" + s + "SanitelCF.cer\" -certin -pkcs");
    EXPECT_EQ(riga_comando_base64(p, p / "Sogei" / "stringa.enc", p / "Sogei" / "stringa.enc.b64"),
              "\"" + s + openssl + "\" base64 -base64 -e  -out \"" + s +
                  "stringa.enc.b64\" -in \"" + s + "stringa.enc\"");
}

TEST(TrasportoInps, CartellaDiLavoroNuovaPrivataERimossa) {
    namespace fs = std::filesystem;
    prova::CartellaTemporanea c;
    c.scrivi("bersaglio", "intatto");
    fs::path cartella;
    {
        const CartellaDiLavoro lavoro(c.percorso(), c.percorso() / "temp");
        cartella = lavoro.percorso();
        ASSERT_EQ(cartella.parent_path(), c.percorso());
        EXPECT_TRUE(cartella.filename().string().starts_with("meravo-lavoro-"));
        // Whatever is at a work file's name is neither followed nor overwritten.
        fs::copy_file(c.percorso() / "bersaglio", lavoro["presente"]);
        EXPECT_FALSE(lavoro.scrivi("presente", "segreto"));
#ifndef _WIN32
        fs::create_symlink(c.percorso() / "bersaglio", lavoro["collegamento"]);
        EXPECT_FALSE(lavoro.scrivi("collegamento", "segreto"));
#endif
    }
    EXPECT_FALSE(fs::exists(cartella));
    EXPECT_EQ(c.leggi("bersaglio"), "intatto");
    // Where no folder can be made, the user's temporary folder takes it.
    fs::create_directory(c.percorso() / "temp");
    const CartellaDiLavoro altrove(c.percorso() / "bersaglio" / "Sogei", c.percorso() / "temp");
    EXPECT_EQ(altrove.percorso().parent_path(), c.percorso() / "temp");
}

const std::string interpretare = "Impossibile interpretare il messaggio di risposta!";
const std::string connessione = "Impossibile stabilire una connessione!";

// An answer read by `leggi` over the protocol "vecchio", the doctor answering `domanda` when
// asked: its outcome, the protocol it leaves and the one message it shows (none: empty). The
// service's reasons and the questions are plain text; what the module could not read warns.
void verifica_risposta(const std::function<EsitoInvio(Messaggi&, std::string&)>& leggi,
                       const std::string& caso, EsitoInvio esito, const std::string& messaggio,
                       const std::string& protocollo, std::optional<Risposta> domanda = {}) {
    prova::MessaggiRegistrati m;
    m.risposte = {domanda.value_or(Risposta::no)};
    std::string p = "vecchio";
    EXPECT_EQ(leggi(m, p), esito) << caso;
    EXPECT_EQ(p, protocollo) << caso;
    ASSERT_EQ(m.mostrati.size(), messaggio.empty() ? 0U : 1U) << caso;
    if (!messaggio.empty()) {
        const bool motivi =
            domanda || messaggio.find("per i seguenti motivi:") != std::string::npos;
        EXPECT_EQ(m.mostrati[0].testo, messaggio);
        EXPECT_EQ(m.mostrati[0].icona, motivi ? Icona::nessuna : Icona::esclamazione) << caso;
        EXPECT_EQ(m.mostrati[0].pulsanti, domanda ? Pulsanti::si_no : Pulsanti::ok) << caso;
        EXPECT_EQ(m.mostrati[0].titolo, "Meravo");
    }
}

TEST(RispostaInvio, RicevutaErroriGuastiEsitiIgnotiERisposteIlleggibili) {
    const std::string busta = "<soapenv:Envelope xmlns:soapenv='s'><soapenv:Body>";
    const std::string fine = "</soapenv:Body></soapenv:Envelope>";
    const std::string motivi = "Impossibile stampare il certificato per i seguenti motivi:";
    const std::string credenziali =
        "Il servizio INPS ha rifiutato il nome utente o la password (errore HTTP ";
    const std::string verifica = "): verificare le credenziali INPS del medico e riprovare.";
    const struct {
        std::string corpo, messaggio; // no message: a receipt; "Esito ...": an unknown outcome
        std::string protocollo = "vecchio";
        std::optional<int> stato = 200;
    } casi[] = {
        {busta + "<r:RicevutaOk xmlns:r='r'><r:idCertificato> 2024A123 </r:idCertificato>" +
             "</r:RicevutaOk>" + fine + "\r\n",
         "", "2024A123"},
        // A refusal that names the receipt, a receipt without its identifier.
        {busta + "<errore><descrizione>ricevutaOK no</descrizione></errore>" + fine,
         motivi + "\r\nricevutaOK no", "\r\nricevutaOK no"},
        {busta + "<ricevutaOK><idCertificato> </idCertificato></ricevutaOK>" + fine, motivi, ""},
        {busta +
             "<errore><tipoErrore>1</tipoErrore><descrizione>a</descrizione></errore>"
             "<x><errore><descrizione>b</descrizione></errore></x><errore/>" +
             fine,
         motivi + "\r\na\r\nb", "\r\na\r\nb"},
        {busta + "<errore><descrizione>perch\xC3\xA8</descrizione></errore>" + fine,
         motivi + "\r\nperch\xE8", "\r\nperch\xE8"},
        {busta + "<non chiuso>" + fine, interpretare},
        {busta + "<ricevutaOK/>", interpretare},
        {"", connessione, "vecchio", {}},
        {"<env:Envelope xmlns:env='e'><env:Body><env:Fault><faultcode>x</faultcode>"
         "<faultstring>Accesso negato</faultstring></env:Fault></env:Body></env:Envelope>",
         "Impossibile stabilire una connessione: Accesso negato"},
        {"<env:Envelope xmlns:env='e'><env:Body/></env:Envelope>", interpretare},
        {"<env:Envelope xmlns:env='e'><env:Body>", connessione},
        // The service's own status, when it gave one, says what to do next.
        {"", credenziali + "401" + verifica, "vecchio", 401},
        {"<html>", credenziali + "403" + verifica, "vecchio", 403},
        {"",
         "Il servizio INPS non \xE8 disponibile in questo momento (errore HTTP 503): riprovare "
         "pi\xF9 tardi.",
         "vecchio", 503},
        {"", "Il servizio INPS ha dato una risposta inattesa (errore HTTP 404).", "vecchio", 404},
        // A gateway's: the service behind it may have registered the certificate.
        {"<html>",
         "Esito dell'invio sconosciuto (errore HTTP 504): la richiesta \xE8 partita ma la risposta "
         "del servizio INPS non \xE8 arrivata.\r\nIl certificato potrebbe essere gi\xE0 registrato "
         "all'INPS: prima di inviarlo di nuovo, verificare sul portale INPS se risulta emesso.",
         "vecchio", 504},
    };
    for (const auto& c : casi) {
        const auto esito = c.messaggio.empty()                ? EsitoInvio::riuscito
                           : c.messaggio.starts_with("Esito") ? EsitoInvio::incerto
                                                              : EsitoInvio::rifiutato;
        verifica_risposta(
            [&](Messaggi& m, std::string& p) {
                return interpreta_risposta_invio({c.corpo, "", c.stato, 0, true}, m, p);
            },
            c.corpo, esito, c.messaggio, c.protocollo);
    }
}

TEST(DocumentoSoap, ElementiInOrdineDiDocumentoAQualsiasiProfondita) {
    const auto d = DocumentoSoap::carica(
        "<r><x><id>1<b>a</b></id></x><id>2</id><e><d>p</d><e><d>q</d></e></e><e/></r>");
    ASSERT_TRUE(d);
    EXPECT_EQ(d->testo_primo("id"), "1a"); // the first in the text, not the shallowest
    EXPECT_EQ(d->testi_figli("e", "d"), (std::vector<std::string>{"p", "q"}));

    // Nested far deeper than any stack could follow: read, not a crash.
    constexpr std::size_t livelli = 1000000;
    std::string profondo = "<r>";
    for (std::size_t i = 0; i < livelli; ++i) {
        profondo += "<a>";
    }
    profondo += "<id>3</id>";
    for (std::size_t i = 0; i < livelli; ++i) {
        profondo += "</a>";
    }
    const auto p = DocumentoSoap::carica(profondo + "<id>4</id></r>");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->testo_primo("id"), "3");
    EXPECT_EQ(p->testo_primo("r"), "34");
}

TEST(RispostaAnnullamento, OgniRegolaConLeSueDomandeEMessaggi) {
    const std::string busta = "<?xml version='1.0'?><soapenv:Envelope xmlns:soapenv='s'><soapenv:"
                              "Body><ns2:AnnullamentoCertificatoResponse xmlns:ns2='r'>";
    const std::string fine =
        "</ns2:AnnullamentoCertificatoResponse></soapenv:Body></soapenv:Envelope>";
    const auto ko = [&](std::initializer_list<std::pair<std::string, std::string>> errori) {
        std::string testo = busta + "<ns2:ricevutaAnnullamentoKO>";
        for (const auto& [tipo, descrizione] : errori) {
            testo += "<ns2:errore><ns2:tipoErrore>" + tipo + "</ns2:tipoErrore><ns2:descrizione>" +
                     descrizione + "</ns2:descrizione></ns2:errore>";
        }
        return testo + "</ns2:ricevutaAnnullamentoKO>" + fine;
    };
    const std::string non_trovato =
        "Certificato non trovato su server centrale. Eliminarlo in locale?";
    const std::string gia_annullato =
        "Certificato gi\xE0 annullato su server centrale. Eliminarlo in locale?";
    const std::string motivi = "Impossibile eliminare il certificato per i seguenti motivi:";
    const std::string fault = "<env:Envelope xmlns:env='s'><env:Body><env:Fault><faultcode>"
                              "env:Server</faultcode><faultstring>Archivio non scrivibile"
                              "</faultstring></env:Fault></env:Body></env:Envelope>";
    const auto ricevuta_ok = [](const std::string& id) {
        return "<RicevutaOK><idAnnullamento>" + id + "</idAnnullamento></RicevutaOK>";
    };
    const std::string ignoto =
        "Esito dell'annullamento sconosciuto (tempo di attesa scaduto): la richiesta \xE8 partita "
        "ma la risposta del servizio INPS non \xE8 arrivata.\r\nIl certificato potrebbe essere "
        "gi\xE0 annullato all'INPS: prima di riprovare, verificare sul portale INPS se risulta "
        "annullato.";
    const std::string ricevuta = busta +
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
        int uscita = 0; // curl's: 28, no answer in time to the request sent
    } casi[] = {
        {ricevuta, {}, true, "", "A-7"},
        {busta + ricevuta_ok("B") + fine, {}, true, "", "B"},
        {busta + ricevuta_ok(" ") + fine, {}, false, motivi, ""},
        {ko({{"1", "ricevutaOK"}}), {}, false, motivi + "\r\nricevutaOK", "\r\nricevutaOK"},
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
        {"", {}, false, connessione, ""},
        {"", {}, false, ignoto, "", 28},
    };
    for (const auto& c : casi) {
        const auto esito = c.messaggio.starts_with("Esito") ? EsitoInvio::incerto
                           : c.atteso                       ? EsitoInvio::riuscito
                                                            : EsitoInvio::rifiutato;
        verifica_risposta(
            [&](Messaggi& m, std::string& p) {
                return interpreta_risposta_annullamento({c.risposta, "", {}, c.uscita, true}, m, p);
            },
            c.risposta, esito, c.messaggio, c.protocollo, c.domanda);
    }
}

} // namespace
} // namespace meravo
