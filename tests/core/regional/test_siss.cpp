#include "archive/elimina.h"
#include "regional/componente_simulato.h"
#include "regional/dataset_siss.h"
#include "regional/invio_siss.h"

#include "banco_siss.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace meravo {
namespace {

using prova::BancoSiss;
using ::testing::HasSubstr;

TEST(DatasetSiss, ModuloCompletoRigaPerRiga) {
    BancoSiss b;
    EXPECT_EQ(componi_dataset_invio(b.avvia_compilato()),
              prova::documento_atteso(MERAVO_ATTESI "/dataset_invio.xml"));
}

TEST(DatasetSiss, OgniRegolaDeiCampi) {
    const auto casi = prova::casi_da_file(MERAVO_ATTESI "/regole_dataset.txt");
    ASSERT_EQ(casi.size(), 7U);
    for (const auto& c : casi) {
        BancoSiss b;
        auto& f = b.avvia_compilato();
        for (std::size_t i = 2; i + 1 < c.size(); i += 2) {
            if (c[i].starts_with("opt_")) {
                (c[i] == "opt_tipo" ? f.opt_tipo : f.opt_visita) = std::stoi(c[i + 1]);
            } else {
                f.imposta_testo(c[i], c[i + 1]);
                ASSERT_EQ(f.testo(c[i]), c[i + 1]) << c[i]; // a field of the form
            }
        }
        const auto dataset = componi_dataset_invio(f);
        EXPECT_NE(dataset.find(c[0]), std::string::npos) << c[0];
        EXPECT_EQ(dataset.find(c[1]), std::string::npos) << c[1];
        // Only a birth abroad changes the form's province.
        EXPECT_EQ(f.provincia_nascita.Text, c[0].find("999201") == std::string::npos ? "RM" : "EE");
    }
}

TEST(DatasetSiss, NomeDelMedicoEDate) {
    const auto casi = prova::casi_da_file(MERAVO_ATTESI "/nomi_medico.txt");
    ASSERT_EQ(casi.size(), 4U);
    for (const auto& c : casi) {
        const auto diviso = dividi_nome_medico(c.at(0));
        EXPECT_EQ(diviso.cognome + "|" + diviso.nome, c.at(1) + "|" + c.at(2)) << c[0];
    }
    EXPECT_EQ(data_dataset(" 07/03/1965 "), "19650307");
    EXPECT_EQ(data_dataset("7/03/1965"), "");
}

TEST(DatasetSiss, AnnullamentoDalRecordArchiviato) {
    BancoSiss b;
    auto& f = b.avvia_compilato();
    f.certificati.aggiungi_da_input("20240105093000\247PROT<1>" + std::string(16, '\xA7') +
                                    " VRDLCU70A01F205X ");
    // The protocol and the worker's fiscal code come from the record, not from the form.
    EXPECT_EQ(componi_dataset_annullamento(f, "20240105093000"),
              prova::documento_atteso(MERAVO_ATTESI "/dataset_annullamento.xml"));
    EXPECT_THAT(componi_dataset_annullamento(f, "assente"),
                HasSubstr("<protocolloDaCancellare></protocolloDaCancellare>"));
}

constexpr std::string_view motivo = "Impossibile stampare il certificato per il seguente motivo:";

// Answers every call with the same text, or fails the call.
class ComponenteFisso final : public ComponenteRegionale {
public:
    explicit ComponenteFisso(std::optional<std::string> r) : risposta(std::move(r)) {}
    std::optional<std::string> callSebMethod(std::string&) override { return risposta; }
    std::optional<std::string> risposta;
};

TEST(RispostaSiss, OgniRispostaConIlSuoEsitoProtocolloEMessaggio) {
    const auto casi = prova::casi_da_file(MERAVO_ATTESI "/risposte_siss.txt");
    ASSERT_EQ(casi.size(), 5U);
    for (const auto& c : casi) {
        ASSERT_EQ(c.size(), 4U) << c[0];
        prova::MessaggiRegistrati messaggi;
        std::string protocollo;
        EXPECT_EQ(interpreta_risposta_siss(c[3], motivo, messaggi, protocollo), c[0] == "riuscito")
            << c[3];
        EXPECT_EQ(protocollo, c[1]) << c[3];
        ASSERT_EQ(messaggi.mostrati.size(), c[2].empty() ? 0U : 1U) << c[3];
        if (!c[2].empty()) {
            EXPECT_EQ(messaggi.mostrati[0].testo, c[2]);
            EXPECT_EQ(messaggi.mostrati[0].icona, Icona::nessuna);
        }
    }
}

TEST(InvioSiss, SenzaComponenteChiamataFallitaORispostaNonXmlNonSiInvia) {
    BancoSiss b;
    auto& f = b.avvia_compilato();
    EXPECT_EQ(crea_componente_regionale(f.servizi(), f.modo_test), nullptr);
    InvioSiss senza(f, crea_componente_regionale(f.servizi(), f.modo_test));
    EXPECT_EQ(senza.invia_certificato_siss(), EsitoInvio::rifiutato);
    EXPECT_EQ(senza.annulla_certificato_siss("x"), EsitoInvio::rifiutato);
    // A call that failed may have reached the network before it did.
    InvioSiss fallita(f, std::make_unique<ComponenteFisso>(std::nullopt));
    EXPECT_EQ(fallita.invia_certificato_siss(), EsitoInvio::incerto);
    // An answer that is not XML: the protocol cleared, both copies left for support staff.
    f.protocollo = "vecchio";
    InvioSiss non_xml(f, std::make_unique<ComponenteFisso>("<non xml"));
    EXPECT_EQ(non_xml.invia_certificato_siss(), EsitoInvio::rifiutato);
    EXPECT_EQ(f.protocollo, "");
    EXPECT_TRUE(b.cartella.leggi("invio_siss.txt").starts_with("<?xml"));
    EXPECT_TRUE(b.cartella.leggi("invio_siss.txt").ends_with("</SOAP-ENV:Envelope>\r\n"));
    EXPECT_EQ(b.cartella.leggi("risposta_siss.txt"), "<non xml\r\n");
    const auto testi = b.testi();
    ASSERT_EQ(testi.size(), 4U);
    EXPECT_TRUE(testi[0].starts_with(motivo));
    EXPECT_TRUE(
        testi[1].starts_with("Impossibile eliminare il certificato per il seguente motivo:"));
    EXPECT_TRUE(testi[2].starts_with(motivo));
    EXPECT_THAT(testi[2], HasSubstr("potrebbe essere gi\xE0 registrato"));
    EXPECT_THAT(testi[3], HasSubstr("Errore nell'interpretare"));
}

TEST(InvioSiss, ComponenteSimulatoRifiutaPoiStampaArchiviaIlNatoAllEstero) {
    BancoSiss b(true);
    auto& f = b.avvia_compilato();
    InvioSiss invio(f, crea_componente_regionale(f.servizi(), f.modo_test));
    f.dt_fine.Text("9/1/2024");
    EXPECT_EQ(invio.invia_certificato_siss(), EsitoInvio::rifiutato);
    ASSERT_EQ(b.messaggi.mostrati.size(), 1U);
    EXPECT_THAT(b.primo_messaggio(), HasSubstr("Formato non valido - dataFine"));
    std::string senza_dichiarazione = "<SOAP-ENV:Envelope/>";
    EXPECT_THAT(*ComponenteSimulato().callSebMethod(senza_dichiarazione),
                HasSubstr("<faultstring>Dichiarazione XML mancante"));

    b.messaggi.mostrati.clear();
    f.dt_fine.Text("09/01/2024");
    f.comune_nascita.Text = "Albania";
    collega_invio_regionale(f, invio);
    DatiReport mostrata;
    f.mostra_lavoratore = [&](const DatiReport& d) { mostrata = d; };
    f.Stampa_Click();
    EXPECT_TRUE(b.messaggi.mostrati.empty()) << b.primo_messaggio();
    EXPECT_EQ(mostrata.testo("protocollo"), "900001");
    EXPECT_EQ(f.conferma_invio, "Certificato inviato tramite il SISS: protocollo INPS 900001");
    EXPECT_EQ(mostrata.testo("pr_nascita"), "EE");
    ASSERT_EQ(f.certificati.size(), 1U);
    EXPECT_THAT(b.cartella.leggi("invio_siss.txt"), HasSubstr("<provinciaNascita>EE<"));
    EXPECT_THAT(b.cartella.leggi("risposta_siss.txt"), HasSubstr("<protocolloINPS>900001"));

    // Copies that cannot be written do not stop the send.
    BancoSiss senza_copie(true);
    senza_copie.programma = senza_copie.cartella.percorso() / "manca";
    auto& g = senza_copie.avvia_compilato();
    InvioSiss altro(g, crea_componente_regionale(g.servizi(), true));
    EXPECT_EQ(altro.invia_certificato_siss(), EsitoInvio::riuscito);
    EXPECT_EQ(g.protocollo, "900001");
    EXPECT_FALSE(std::filesystem::exists(senza_copie.programma / "invio_siss.txt"));
}

TEST(InvioSiss, EliminaInModoRegionaleAnnullaPressoIlComponente) {
    BancoSiss b(true);
    auto& f = b.avvia_compilato();
    f.certificati.aggiungi_da_input("20240105093000\xA7PROT1");
    f.certificati.aggiungi_da_input("20240106093000\xA7");
    InvioSiss invio(f, crea_componente_regionale(f.servizi(), f.modo_test));
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
    EXPECT_THAT(b.cartella.leggi("invio_siss_canc.txt"), HasSubstr("PROT1"));
    EXPECT_TRUE(b.cartella.leggi("risposta_siss_canc.txt").ends_with("</SOAP-ENV:Envelope>\r\n"));
    const auto testi = b.testi();
    EXPECT_TRUE(std::any_of(testi.begin(), testi.end(), [](const auto& t) {
        return t.starts_with("Impossibile eliminare il certificato");
    }));
}

} // namespace
} // namespace meravo
