// The local stand-in of the national service on its own: its HTTP front, every rule it checks a
// request against, and its state across a restart. The module's end-to-end tests only meet it.
#include "server_simulatore.h"
#include "servizio_inps.h"

#include "doppi/doppi.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <openssl/pem.h>
#include <openssl/x509.h>

#include <regex>
#include <sstream>
#include <thread>

namespace meravo::simulatore {
namespace {

namespace fs = std::filesystem;
using prova::CartellaTemporanea;

const std::string pin = "1234567890", cf = "BNCNNA80A41F205X";

// What the module sends for a text: RSA PKCS #1 v1.5 with the service's certificate, Base64.
std::string cifra(const std::string& testo) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(MERAVO_PKI "/SanitelCF.cer", "r"),
                                               std::fclose);
    std::unique_ptr<X509, void (*)(X509*)> certificato(
        PEM_read_X509(file.get(), nullptr, nullptr, nullptr), X509_free);
    std::unique_ptr<EVP_PKEY, void (*)(EVP_PKEY*)> chiave(X509_get_pubkey(certificato.get()),
                                                          EVP_PKEY_free);
    std::unique_ptr<EVP_PKEY_CTX, void (*)(EVP_PKEY_CTX*)> ctx(
        EVP_PKEY_CTX_new(chiave.get(), nullptr), EVP_PKEY_CTX_free);
    std::size_t n = 0;
    const auto* dati = reinterpret_cast<const unsigned char*>(testo.data());
    EVP_PKEY_encrypt_init(ctx.get());
    EVP_PKEY_CTX_set_rsa_padding(ctx.get(), RSA_PKCS1_PADDING);
    EVP_PKEY_encrypt(ctx.get(), nullptr, &n, dati, testo.size());
    std::vector<unsigned char> cifrato(n);
    EVP_PKEY_encrypt(ctx.get(), cifrato.data(), &n, dati, testo.size());
    std::string base64(4 * ((n + 2) / 3) + 1, '\0');
    base64.resize(static_cast<std::size_t>(EVP_EncodeBlock(
        reinterpret_cast<unsigned char*>(base64.data()), cifrato.data(), static_cast<int>(n))));
    return base64;
}

// A request of the data folder, the text of its elements named `pincode`, `codiceFiscale`...
// encrypted as the module sends them.
std::string richiesta(std::string testo, const std::vector<std::string>& cifrati) {
    for (const auto& nome : cifrati) {
        const auto elemento = testo.find("<" + nome + " ");
        if (elemento != std::string::npos) {
            const auto inizio = testo.find('>', elemento) + 1;
            const auto n = testo.find('<', inizio) - inizio;
            testo.replace(inizio, n, cifra(testo.substr(inizio, n)));
        }
    }
    return testo;
}
std::string sostituito(std::string testo, const std::string& da, const std::string& a) {
    const auto dove = testo.find(da);
    return dove == std::string::npos ? testo : testo.replace(dove, da.size(), a);
}
// A request of the data folder for the worker `lavoratore`, the doctor's PIN `codice` and the
// certificate `id`.
std::string modello(const std::string& nome, const std::string& id = "",
                    const std::string& lavoratore = cf, const std::string& codice = pin) {
    const auto testo = CartellaTemporanea::leggi_file(MERAVO_DATI_PROVA "/" + nome);
    return sostituito(sostituito(sostituito(testo, "{PIN}", codice), "{CF}", lavoratore), "{ID}",
                      id);
}
std::string annullamento(const std::string& id, const std::string& lavoratore = cf,
                         const std::string& codice = pin) {
    return richiesta(modello("richiesta_annullamento.xml", id, lavoratore, codice),
                     {"pincodeMedico", "codiceFiscaleLavoratore"});
}

// The answer in one line: the HTTP status, then the error types in order or the fault's code.
std::string esito(const RispostaServizio& r) {
    auto testo = std::to_string(r.stato_http);
    const std::regex tipo("<(?:ns2:)?tipoErrore>([^<]*)<|<faultcode>([^<]*)<");
    for (auto i = std::sregex_iterator(r.corpo.begin(), r.corpo.end(), tipo);
         i != std::sregex_iterator(); ++i) {
        testo += " " + (*i)[1].str() + (*i)[2].str();
    }
    return testo;
}
std::string protocollo(const RispostaServizio& r) {
    std::smatch m;
    return std::regex_search(r.corpo, m, std::regex("<(?:ns2:)?id\\w+>([^<]*)<")) ? m[1].str() : "";
}

ServizioInps servizio(const std::optional<fs::path>& stato) {
    std::string errore;
    auto s = StatoServizio::apri(stato, errore);
    return ServizioInps(*ChiaveServizio::carica(MERAVO_PKI "/SanitelCF.key", errore), pin,
                        std::move(*s));
}

TEST(SimulatoreInps, OgniRegolaDelCertificato) {
    auto s = servizio(std::nullopt);
    const auto valida = modello("richiesta_valida.xml");
    const auto casi = prova::casi_da_file(MERAVO_DATI_PROVA "/regole_invio.txt");
    EXPECT_EQ(casi.size(), 35u);
    for (auto c : casi) {
        c.resize(std::max<std::size_t>(2, c.size()));
        auto testo = valida;
        for (std::size_t i = 2; i + 1 < c.size(); i += 2) {
            testo = std::regex_replace(testo, std::regex(c[i]), c[i + 1]);
        }
        const auto r = s.invio(richiesta(testo, {"pincode", "codiceFiscale"}));
        EXPECT_EQ(esito(r), c[0]) << c[2];
        EXPECT_NE(r.corpo.find(c[1]), std::string::npos) << c[2];
        // The request log names the outcome and the first error type.
        const auto tipo = c[0].starts_with("200 ") ? "\"tipoErrore\":\"" + c[0].substr(4, 3) : "";
        EXPECT_NE(r.voce.json().find(tipo), std::string::npos) << c[2];
    }
}

TEST(SimulatoreInps, AnnullamentoESuoStatoDopoUnRiavvio) {
    CartellaTemporanea c;
    const auto file = c.percorso() / "stato.xml";
    const auto valida = richiesta(modello("richiesta_valida.xml"), {"pincode", "codiceFiscale"});
    std::string annullato, in_vigore;
    {
        auto s = servizio(file);
        annullato = protocollo(s.invio(valida));
        in_vigore = protocollo(s.invio(valida));
        EXPECT_NE(annullato, in_vigore);
        const auto r = s.annullamento(annullamento(annullato));
        EXPECT_EQ(esito(r), "200");
        EXPECT_NE(protocollo(r), "");
        // Wrong credentials learn nothing about the certificate.
        EXPECT_EQ(esito(s.annullamento(annullamento("999999999"))), "200 102");
        EXPECT_EQ(esito(s.annullamento(annullamento(in_vigore, cf, "un-altro-pin"))), "200 101");
        EXPECT_EQ(esito(s.annullamento(annullamento(in_vigore, "BNCLRA85M41F205X"))), "200 104");
    }
    EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    // Restarted on the same state: what was cancelled stays so, what is in force can go.
    auto s = servizio(file);
    EXPECT_EQ(esito(s.annullamento(annullamento(annullato))), "200 105");
    EXPECT_EQ(esito(s.annullamento(annullamento(in_vigore))), "200");
    const auto nuovo = protocollo(s.invio(valida));
    EXPECT_TRUE(nuovo != annullato && nuovo != in_vigore && !nuovo.empty()) << nuovo;

    // A state file that is not the simulator's is never overwritten.
    c.scrivi("rotto.xml", "<rotto");
    std::string errore;
    EXPECT_FALSE(StatoServizio::apri(c.percorso() / "rotto.xml", errore));
    EXPECT_EQ(c.leggi("rotto.xml"), "<rotto");
}

TEST(SimulatoreInps, SoloPostConUtenteEPasswordDelServizio) {
    auto s = servizio(std::nullopt);
    std::ostringstream diario;
    ServerSimulatore server(MERAVO_PKI "/simulatore.pem", MERAVO_PKI "/simulatore.key",
                            {"medico", "Salve \"ok\""}, s, nullptr, diario);
    const int porta = server.apri(0);
    ASSERT_GT(porta, 0);
    std::thread ascolto([&] { server.ascolta(); });
    // A second server on the same port fails instead of sharing it.
    ServerSimulatore secondo(MERAVO_PKI "/simulatore.pem", MERAVO_PKI "/simulatore.key", {}, s,
                             nullptr, diario);
    EXPECT_EQ(secondo.apri(porta), -1);

    httplib::SSLClient client("127.0.0.1", porta);
    client.set_ca_cert_path(MERAVO_PKI "/mirCa.pem");
    const std::string servizi = "/TrasmissioneCertificatiWeb/services/";
    for (const auto& [utente, password] :
         {std::pair<std::string, std::string>{"altro", "Salve \"ok\""},
          {"medico", "sbagliata"},
          {"medico", "Salve \"ok\"x"},
          {"", ""}}) {
        client.set_basic_auth(utente, password);
        for (const auto* servizio : {"InvioCertificato", "AnnullamentoCertificato"}) {
            const auto r = client.Post(servizi + servizio, "", "text/xml");
            EXPECT_EQ(r ? r->status : 0, 401) << utente << ":" << password;
        }
    }
    httplib::SSLClient anonimo("127.0.0.1", porta);
    anonimo.set_ca_cert_path(MERAVO_PKI "/mirCa.pem");
    const auto senza = anonimo.Post(servizi + "InvioCertificato", "x", "text/xml");
    EXPECT_EQ(senza ? senza->status : 0, 401);
    client.set_basic_auth("medico", "Salve \"ok\"");
    const auto get = client.Get(servizi + "InvioCertificato");
    EXPECT_EQ(get ? get->status : 0, 405);
    const auto post = client.Post(servizi + "InvioCertificato", "<a>", "text/xml");
    EXPECT_EQ(post ? post->status : 0, 500);
    server.ferma();
    ascolto.join();
    // Neither the password nor its header reaches the log.
    EXPECT_EQ(diario.str().find("Salve"), std::string::npos);
    EXPECT_EQ(diario.str().find("Authorization"), std::string::npos);
}

} // namespace
} // namespace meravo::simulatore
