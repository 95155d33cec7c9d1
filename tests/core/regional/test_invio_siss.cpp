#include "archive/elimina.h"
#include "regional/componente_simulato.h"
#include "regional/invio_siss.h"

#include "banco_siss.h"

#include <gtest/gtest.h>

namespace meravo {
namespace {

using prova::BancoSiss;

constexpr std::string_view motivo = "Impossibile stampare il certificato per il seguente motivo:";

// Answers every call with the same text, or fails the call.
class ComponenteFisso final : public ComponenteRegionale {
public:
    explicit ComponenteFisso(std::optional<std::string> r) : risposta(std::move(r)) {}
    std::optional<std::string> callSebMethod(std::string&) override { return risposta; }
    std::optional<std::string> risposta;
};

std::string busta(const std::string& corpo) {
    return "<SOAP-ENV:Envelope xmlns:SOAP-ENV=\"http://schemas.xmlsoap.org/soap/envelope/\">"
           "<SOAP-ENV:Body>" +
           corpo + "</SOAP-ENV:Body></SOAP-ENV:Envelope>";
}

TEST(RispostaSiss, RegoleDellaRisposta) {
    const std::string m(motivo);
    const struct {
        std::string risposta;
        bool esito;
        std::string messaggio, protocollo;
    } casi[] = {
        {busta("<esito><protocolloINPS> 123 </protocolloINPS></esito>"), true, "", " 123 "},
        {busta("<esito/>"), true, "", ""},
        {"risposta non XML", false, m + " Errore nell'interpretare il messaggio di risposta", ""},
        {busta("<SOAP-ENV:Fault><faultstring> Servizio fermo </faultstring></SOAP-ENV:Fault>"
               "<descErrore>Dati errati</descErrore>"),
         false, m + "Servizio fermo", ""},
        {busta("<esito><descErrore> Dati errati </descErrore>"
               "<eccezione><descEccezione>Formato</descEccezione><nomeCampo>dataFine</nomeCampo>"
               "<descEccezioneCampo>aaaammgg</descEccezioneCampo></eccezione>"
               "<eccezione><descEccezione>Mancante</descEccezione>"
               "<descEccezioneCampo>obbligatorio</descEccezioneCampo></eccezione>"
               "<protocolloINPS>9</protocolloINPS></esito>"),
         false,
         m + "\r\nDati errati\r\nEccezioni: \r\nFormato - dataFine - aaaammgg\r\nMancante -  - "
             "obbligatorio",
         ""},
    };
    for (const auto& c : casi) {
        prova::MessaggiRegistrati messaggi;
        std::string protocollo;
        EXPECT_EQ(interpreta_risposta_siss(c.risposta, motivo, messaggi, protocollo), c.esito)
            << c.risposta;
        EXPECT_EQ(protocollo, c.protocollo) << c.risposta;
        ASSERT_EQ(messaggi.mostrati.size(), c.messaggio.empty() ? 0U : 1U) << c.risposta;
        if (!c.messaggio.empty()) {
            EXPECT_EQ(messaggi.mostrati[0].testo, c.messaggio);
            EXPECT_EQ(messaggi.mostrati[0].icona, Icona::nessuna);
        }
    }
}

TEST(InvioSiss, RispostaNonXmlLasciaEntrambeLeCopie) {
    BancoSiss b;
    auto& f = b.avvia_compilato();
    f.protocollo = "vecchio";
    InvioSiss invio(f, std::make_unique<ComponenteFisso>("<non xml"));
    EXPECT_FALSE(invio.invia_certificato_siss());
    EXPECT_EQ(f.protocollo, "");
    EXPECT_TRUE(b.cartella.leggi("invio_siss.txt").starts_with("<?xml"));
    EXPECT_TRUE(b.cartella.leggi("invio_siss.txt").ends_with("</SOAP-ENV:Envelope>\r\n"));
    EXPECT_EQ(b.cartella.leggi("risposta_siss.txt"), "<non xml\r\n");
    ASSERT_EQ(b.messaggi.mostrati.size(), 1U);
    EXPECT_NE(b.primo_messaggio().find("Errore nell'interpretare"), std::string::npos);
}

TEST(InvioSiss, SenzaComponenteOChiamataFallitaNonSiInvia) {
    BancoSiss b;
    auto& f = b.avvia_compilato();
    EXPECT_EQ(crea_componente_regionale(f.servizi()), nullptr);
    InvioSiss senza(f, crea_componente_regionale(f.servizi()));
    EXPECT_FALSE(senza.invia_certificato_siss());
    EXPECT_FALSE(senza.annulla_certificato_siss("x"));
    InvioSiss fallita(f, std::make_unique<ComponenteFisso>(std::nullopt));
    EXPECT_FALSE(fallita.invia_certificato_siss());
    const auto testi = b.testi();
    ASSERT_EQ(testi.size(), 3U);
    EXPECT_TRUE(testi[0].starts_with(motivo));
    EXPECT_TRUE(
        testi[1].starts_with("Impossibile eliminare il certificato per il seguente motivo:"));
    EXPECT_TRUE(testi[2].starts_with(motivo));
}

TEST(InvioSiss, ComponenteSimulatoRifiutaDateECodiciErrati) {
    BancoSiss b;
    b.ambiente["MERAVO_SISS_SIMULATO"] = "1";
    auto& f = b.avvia_compilato();
    f.dt_fine.Text("9/1/2024");
    InvioSiss invio(f, crea_componente_regionale(f.servizi()));
    EXPECT_FALSE(invio.invia_certificato_siss());
    ASSERT_EQ(b.messaggi.mostrati.size(), 1U);
    EXPECT_NE(b.primo_messaggio().find("Formato non valido - dataFine"), std::string::npos);
    EXPECT_FALSE(invio.annulla_certificato_siss("assente"));
    EXPECT_NE(b.messaggi.mostrati.back().testo.find("protocolloDaCancellare"), std::string::npos);

    ComponenteSimulato simulato;
    std::string senza_dichiarazione = "<SOAP-ENV:Envelope/>";
    EXPECT_NE(simulato.callSebMethod(senza_dichiarazione)->find("<faultstring>"),
              std::string::npos);
}

TEST(InvioSiss, StampaInModoRegionaleArchiviaIlNatoAllEstero) {
    BancoSiss b;
    b.ambiente["MERAVO_SISS_SIMULATO"] = "1";
    auto& f = b.avvia_compilato();
    f.comune_nascita.Text = "Albania";
    // A residence the table does not know goes out with an empty code all the same.
    f.residenza_comune.Text = "Atlantide";
    InvioSiss invio(f, crea_componente_regionale(f.servizi()));
    collega_invio_regionale(f, invio);
    DatiReport mostrata;
    f.mostra_lavoratore = [&](const DatiReport& d) { mostrata = d; };
    f.Stampa_Click();
    EXPECT_TRUE(b.messaggi.mostrati.empty()) << b.primo_messaggio();
    EXPECT_EQ(mostrata.testo("protocollo"), "900001");
    EXPECT_EQ(mostrata.testo("pr_nascita"), "EE");
    ASSERT_EQ(f.certificati.size(), 1U);
    const auto inviato = b.cartella.leggi("invio_siss.txt");
    EXPECT_NE(inviato.find("<provinciaNascita>EE<"), std::string::npos);
    EXPECT_NE(inviato.find("<idComune></idComune>\r\n<comune>Atlantide<"), std::string::npos);
    EXPECT_NE(b.cartella.leggi("risposta_siss.txt").find("<protocolloINPS>900001"),
              std::string::npos);

    // Copies that cannot be written do not stop the send.
    BancoSiss senza_copie;
    senza_copie.ambiente["MERAVO_SISS_SIMULATO"] = "1";
    senza_copie.programma = senza_copie.cartella.percorso() / "manca";
    auto& g = senza_copie.avvia_compilato();
    InvioSiss altro(g, crea_componente_regionale(g.servizi()));
    EXPECT_TRUE(altro.invia_certificato_siss());
    EXPECT_EQ(g.protocollo, "900001");
    EXPECT_FALSE(std::filesystem::exists(senza_copie.programma / "invio_siss.txt"));
}

TEST(InvioSiss, EliminaInModoRegionaleAnnullaPressoIlComponente) {
    BancoSiss b;
    b.ambiente["MERAVO_SISS_SIMULATO"] = "1";
    auto& f = b.avvia_compilato();
    f.certificati.aggiungi_da_input("20240105093000\xA7PROT1");
    f.certificati.aggiungi_da_input("20240106093000\xA7");
    InvioSiss invio(f, crea_componente_regionale(f.servizi()));
    Elimina browser(f);
    collega_annullamento_regionale(browser, invio);
    // The second record has no protocol: the service refuses it and the archive keeps it.
    for (const int riga : {1, 0}) {
        b.messaggi.risposte = {Risposta::si};
        browser.archivio_Click();
        browser.list1_Click(riga);
        browser.elimina_Click();
    }
    EXPECT_EQ(f.certificati.chiavi(), std::vector<std::string>{"20240106093000"});
    EXPECT_NE(b.cartella.leggi("invio_siss_canc.txt").find("PROT1"), std::string::npos);
    EXPECT_TRUE(b.cartella.leggi("risposta_siss_canc.txt").ends_with("</SOAP-ENV:Envelope>\r\n"));
    const auto testi = b.testi();
    EXPECT_TRUE(std::any_of(testi.begin(), testi.end(), [](const auto& t) {
        return t.starts_with("Impossibile eliminare il certificato");
    }));
}

} // namespace
} // namespace meravo
