#include "national/richiesta_inps.h"
#include "national/trasporto_inps.h"
#include "text/xml.h"

#include <gtest/gtest.h>

namespace meravo {
namespace {

DatiRichiestaInvio completa() {
    DatiRichiestaInvio d;
    d.pincode = "PINB64";
    d.codice_regione = "030";
    d.codice_asl = "308";
    d.codice_fiscale = "CFB64";
    d.via = "Via Roma 1";
    d.cap = "20121";
    d.comune = "Milano";
    d.provincia = "MI";
    d.nominativo = "c/o Rossi";
    d.nominativo_via = "Via Po 2";
    d.nominativo_cap = "";
    d.nominativo_comune = "Monza";
    d.nominativo_provincia = "MB";
    d.data_rilascio = "05/01/2024";
    d.data_inizio = "05/01/2024";
    d.data_fine = "1/2/2024";
    d.opt_visita = 1;
    d.opt_tipo = 2;
    d.codice_diagnosi = "487.1";
    d.note_diagnosi = "Dolore \"acuto\" & febbre <38\xB0\r\nda ieri";
    return d;
}

TEST(RichiestaInps, RigaPerRigaConLeRigheCondizionali) {
    const std::string T = " xmlns='http://tipicert.xsd.cert.sanita.finanze.it'";
    const std::string attesa =
        "<SOAP-ENV:Envelope xmlns:SOAP-ENV='http://schemas.xmlsoap.org/soap/envelope/'>\r\n"
        "<SOAP-ENV:Header/>\r\n<SOAP-ENV:Body>\r\n"
        "<InvioCertificato xmlns='http://inviocertificatorequest.xsd.cert.sanita.finanze.it'>\r\n"
        "<medico>\r\n<pincode" +
        T + ">PINB64</pincode>\r\n<codiceRegione" + T + ">030</codiceRegione>\r\n<codiceAsl" + T +
        ">308</codiceAsl>\r\n</medico>\r\n"
        "<lavoratore>\r\n<codiceFiscale" +
        T +
        ">CFB64</codiceFiscale>\r\n</lavoratore>\r\n"
        "<residenzaODomicilioAbituale>\r\n<via" +
        T + ">Via Roma 1</via>\r\n<cap" + T + ">20121</cap>\r\n<comune" + T +
        ">Milano</comune>\r\n<provincia" + T +
        ">MI</provincia>\r\n</residenzaODomicilioAbituale>\r\n"
        "<indirizzoDiReperibilita>\r\n<cognome" +
        T + ">c/o Rossi</cognome>\r\n<indirizzo" + T + ">\r\n<via" + T + ">Via Po 2</via>\r\n<cap" +
        T + "></cap>\r\n<comune" + T + ">Monza</comune>\r\n<provincia" + T +
        ">MB</provincia>\r\n</indirizzo>\r\n"
        "</indirizzoDiReperibilita>\r\n<certificato>\r\n<dataRilascio" +
        T + ">2024-01-05</dataRilascio>\r\n<dataInizio" + T +
        ">2024-01-05</dataInizio>\r\n"
        "<dataFine" +
        T + "></dataFine>\r\n<visita" + T + ">D</visita>\r\n<tipoCertificato" + T +
        ">R</tipoCertificato>\r\n<codiceDiagnosi" + T +
        ">487.1</codiceDiagnosi>\r\n"
        "<noteDiagnosi" +
        T +
        ">Dolore &quot;acuto&quot; &amp; febbre &lt;38&#176;&#13;\n"
        "da ieri</noteDiagnosi>\r\n</certificato>\r\n</InvioCertificato>\r\n"
        "</SOAP-ENV:Body>\r\n</SOAP-ENV:Envelope>";
    EXPECT_EQ(componi_richiesta_invio(completa()), attesa);
}

TEST(RichiestaInps, BloccoDiReperibilitaEDiagnosi) {
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
    d.opt_visita = 0;
    d.opt_tipo = 0;
    r = componi_richiesta_invio(d);
    EXPECT_EQ(r.find("<cognome"), std::string::npos);
    EXPECT_NE(r.find("<indirizzo xmlns"), std::string::npos);
    EXPECT_EQ(r.find("noteDiagnosi"), std::string::npos);
    EXPECT_NE(r.find(">A</visita>"), std::string::npos);
    EXPECT_NE(r.find(">I</tipoCertificato>"), std::string::npos);
    EXPECT_EQ(r.find('"'), std::string::npos); // it travels inside a quoted argument
}

TEST(RichiestaInps, DateEdEscape) {
    EXPECT_EQ(data_iso("31/12/2024"), "2024-12-31");
    EXPECT_EQ(data_iso(" 31/12/2024 "), "2024-12-31");
    EXPECT_EQ(data_iso("1/2/2024"), "");
    EXPECT_EQ(data_iso(""), "");
    EXPECT_EQ(testo::escape_xml("a'b\x01\x80\xE8\tc"), "a&apos;b &#8364;&#232;\tc");
}

TEST(TrasportoInps, RigheDiComando) {
#ifdef _WIN32
    const std::filesystem::path p = "C:\\Program Files\\Meravo";
    const std::string s = "C:\\Program Files\\Meravo\\Sogei\\";
    const std::string curl = "Curl", openssl = "openssl.exe";
#else
    const std::filesystem::path p = "/opt/Meravo Studio";
    const std::string s = "/opt/Meravo Studio/Sogei/";
    const std::string curl = "curl", openssl = "openssl";
#endif
    DatiCurl d{p, false, "medico:1", "pa\\ss \"word\"\n", "https://h/x", "<a b='1'>\r\n</a>"};
    EXPECT_EQ(riga_comando_curl(d, p / "Sogei" / "credenziali.cfg", p / "Sogei" / "richiesta.xml"),
              "\"" + s + curl + "\" --verbose --connect-timeout 20 --max-time 120 --cacert \"" + s +
                  "mirservice_produzione.pem\" --basic --config \"" + s +
                  "credenziali.cfg\" --url https://h/x --data-binary \"@" + s + "richiesta.xml\"");
    EXPECT_EQ(configurazione_curl(d), "user = \"medico:1:pa\\\\ss \\\"word\\\"\\n\"\n");
    d.modo_test = true;
    EXPECT_NE(riga_comando_curl(d, "c", "r").find("mirCa.pem\" --basic"), std::string::npos);
    EXPECT_EQ(riga_comando_cifra(p, p / "Sogei" / "stringa.txt", p / "Sogei" / "stringa.enc"),
              "\"" + s + openssl + "\" rsautl -encrypt -in \"" + s + "stringa.txt\" -out \"" + s +
                  "stringa.enc\" -inkey \"" + s + "SanitelCF.cer\" -certin -pkcs");
    EXPECT_EQ(riga_comando_base64(p, p / "Sogei" / "stringa.enc", p / "Sogei" / "stringa.enc.b64"),
              "\"" + s + openssl + "\" base64 -base64 -e  -out \"" + s +
                  "stringa.enc.b64\" -in \"" + s + "stringa.enc\"");
}

} // namespace
} // namespace meravo
