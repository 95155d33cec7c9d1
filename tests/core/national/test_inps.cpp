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

// The service's answers to a send and to a cancellation, and what the module makes of each: a
// case a line of the data file.
TEST(RispostaInps, OgniRispostaConIlSuoEsitoProtocolloEMessaggio) {
    const auto casi = prova::casi_da_file(MERAVO_ATTESI "/risposte.txt");
    ASSERT_EQ(casi.size(), 33U);
    for (const auto& c : casi) {
        ASSERT_EQ(c.size(), 9U) << c[0];
        const auto& [domanda, protocollo, messaggio, corpo] = std::tie(c[3], c[5], c[7], c[8]);
        const RispostaServizio r{corpo, "",
                                 c[1].empty() ? std::nullopt : std::optional(std::stoi(c[1])),
                                 c[2].empty() ? 0 : std::stoi(c[2]), true};
        prova::MessaggiRegistrati m;
        if (!domanda.empty()) {
            m.risposte = {domanda == "si" ? Risposta::si : Risposta::no};
        }
        std::string p = "vecchio";
        EXPECT_EQ(c[0] == "invio" ? interpreta_risposta_invio(r, m, p)
                                  : interpreta_risposta_annullamento(r, m, p),
                  prova::esito_chiamato(c[4]))
            << corpo;
        EXPECT_EQ(p, protocollo) << corpo;
        ASSERT_EQ(m.mostrati.size(), messaggio.empty() ? 0U : 1U) << corpo;
        if (!messaggio.empty()) {
            EXPECT_EQ(m.mostrati[0].testo, messaggio);
            EXPECT_EQ(m.mostrati[0].icona, prova::icona_chiamata(c[6])) << corpo;
            EXPECT_EQ(m.mostrati[0].pulsanti, domanda.empty() ? Pulsanti::ok : Pulsanti::si_no);
            EXPECT_EQ(m.mostrati[0].titolo, "Meravo");
        }
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
    std::string aperti, chiusi;
    for (std::size_t i = 0; i < livelli; ++i) {
        aperti += "<a>";
        chiusi += "</a>";
    }
    const auto p = DocumentoSoap::carica("<r>" + aperti + "<id>3</id>" + chiusi + "<id>4</id></r>");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->testo_primo("id"), "3");
    EXPECT_EQ(p->testo_primo("r"), "34");
}

} // namespace
} // namespace meravo
