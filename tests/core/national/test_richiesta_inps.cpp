#include "national/richiesta_annullamento.h"
#include "national/richiesta_inps.h"
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
}

TEST(RichiestaInps, DateEdEscape) {
    EXPECT_EQ(data_iso(" 31/12/2024 "), "2024-12-31");
    EXPECT_EQ(data_iso("1/2/2024"), "");
    EXPECT_EQ(data_iso(""), "");
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
