#include "archive/elimina.h"
#include "exchange/record_certificato.h"

#include "doppi/banco_form.h"

#include <gtest/gtest.h>

namespace meravo {
namespace {

const std::string sep(1, record_certificato::separatore);

// A whole record: field i holds "v<i>", the notes two lines folded, the key first.
std::string record_intero(const std::string& chiave) {
    std::string r = chiave;
    for (int i = 1; i < 30; ++i) {
        r += sep + (i == 14 ? std::string("prima||seconda") : "v" + std::to_string(i));
    }
    return r;
}

// The browser on a form whose archive holds `records`, with a national road that records what
// it was asked to cancel and how the browser looked meanwhile.
struct Banco : prova::BancoForm {
    std::unique_ptr<Elimina> browser;
    std::vector<std::string> annullati;
    EsitoInvio esito_annullamento = EsitoInvio::riuscito;
    std::string protocollo_lasciato; // what the road leaves in the form's `protocollo`
    bool pulsanti_durante = false;
    bool occupato_durante = false;

    explicit Banco(const std::vector<std::string>& records) {
        crea().file_input = input();
        for (const auto& r : records) {
            form->certificati.aggiungi_da_input(r);
        }
        browser = std::make_unique<Elimina>(*form);
        browser->annulla_certificato_inps = [this](const std::string& chiave) {
            annullati.push_back(chiave);
            pulsanti_durante =
                browser->visualizza.Enabled || browser->elimina.Enabled || browser->chiudi.Enabled;
            occupato_durante = form->occupato();
            // Presses queued while the service answers: they must start nothing.
            browser->elimina_Click();
            browser->chiudi_Click();
            form->protocollo = protocollo_lasciato;
            return esito_annullamento;
        };
    }
    bool pulsanti_abilitati() const {
        return browser->visualizza.Enabled && browser->elimina.Enabled && browser->chiudi.Enabled;
    }
    // Opens the browser and presses Elimina on row `riga` (-1: none chosen), answering `r`.
    void elimina(int riga, Risposta r = Risposta::si) {
        messaggi.risposte = {r};
        browser->archivio_Click();
        browser->list1_Click(riga);
        browser->elimina_Click();
    }
};

TEST(Elimina, ElencoSelezioneEVisualizza) {
    Banco b({record_intero("20240105093000"), "20240106100000" + sep + "P2", "2024" + sep + "P3",
             "20240107080000" + sep});
    b.form->modo_test = true;
    std::vector<std::string> mostrati;
    b.browser->mostra_storico = [&](const DatiReport& s) {
        mostrati.push_back(s.testo("protocollo2"));
    };
    b.browser->archivio_Click();
    EXPECT_TRUE(b.browser->Visible());
    EXPECT_EQ(b.browser->list1(),
              (std::vector<std::string>{"v2  prot. v1  dal v6 al v7  diagn. v13", "prot. P2",
                                        "prot. P3", "archiviato il 07/01/2024 08:00:00"}));
    EXPECT_EQ(b.browser->ListIndex(), -1);
    b.browser->visualizza_Click();
    EXPECT_EQ(b.testi(), std::vector<std::string>{"Selezionare un certificato da visualizzare"});
    EXPECT_EQ(b.messaggi.mostrati.at(0).pulsanti, Pulsanti::ok);
    // Each entry finds its own record (the copies' own rules are the report's), whatever the
    // shape of its key; a copy of the test service says so on both copies.
    for (const auto& [riga, protocollo] :
         std::vector<std::pair<int, std::string>>{{1, "P2"}, {2, "P3"}, {0, "v1"}}) {
        b.browser->list1_Click(riga);
        EXPECT_EQ(b.browser->ListIndex(), riga);
        EXPECT_EQ(b.browser->storico().testo("protocollo") + "|" +
                      b.browser->storico().testo("protocollo2"),
                  protocollo + "|" + protocollo);
        EXPECT_EQ(b.browser->storico().testo("diagnosi"), riga == 0 ? "prima\r\nseconda" : "");
        EXPECT_TRUE(b.browser->storico().testo("avviso_prova2").starts_with("COPIA DI PROVA"));
    }
    b.browser->visualizza_Click(); // the last choice
    EXPECT_EQ(mostrati, std::vector<std::string>{"v1"});
    EXPECT_EQ(b.messaggi.mostrati.size(), 1U);
}

TEST(Elimina, AperturaDisabilitaIlFormEChiusuraLoRiabilita) {
    Banco b({record_intero("20240105093000")});
    auto& f = *b.form;
    f.usa_siss = true;
    f.password.Enabled = false; // as regional start-up leaves it
    int chiusure = 0;
    b.browser->chiusura = [&] {
        ++chiusure;
        EXPECT_TRUE(f.Stampa.Enabled); // the form is usable when the event arrives
    };
    auto stati = [&] {
        std::vector<bool> s{f.dt_nascita.Enabled(), f.dt_fine.Enabled(), f.trova1.Enabled(),
                            b.browser->opzioni_abilitate()};
        for (const auto* c : {&f.nome_medico, &f.cf_medico, &f.password, &f.cognome,
                              &f.note_diagnosi, &f.cod_icdix, &f.nominativo_provincia}) {
            s.push_back(c->Enabled);
        }
        for (const auto* p : {&f.Stampa, &f.salva, &f.archivio, &f.cmd_crypta}) {
            s.push_back(p->Enabled);
        }
        return s;
    };
    b.browser->archivio_Click();
    EXPECT_EQ(stati(), std::vector<bool>(15, false));
    EXPECT_TRUE(f.sesso.Enabled); // not one of the browser's
    EXPECT_EQ(chiusure, 0);

    b.browser->chiudi_Click();
    EXPECT_FALSE(b.browser->Visible());
    EXPECT_EQ(chiusure, 1);
    EXPECT_EQ(stati(), std::vector<bool>(15, true));

    // Reopening lists the archive as it is now.
    f.certificati.rimuovi("20240105093000");
    b.browser->archivio_Click();
    EXPECT_TRUE(b.browser->list1().empty());
}

TEST(Elimina, SoloUnAnnullamentoRiuscitoTogliePoiScriveIlFileDiScambio) {
    const std::string secondo = record_intero("20240106100000");
    const auto casi = prova::casi_da_file(MERAVO_ATTESI "/annullamenti.txt");
    ASSERT_EQ(casi.size(), 7U);
    for (const auto& c : casi) {
        ASSERT_GE(c.size(), 9U) << c[0];
        const auto caso = c[0] + " " + c[1] + " " + c[2] + " " + c[3] + " " + c[4];
        const bool annullato = c[5] == "si", tolto = c[6] == "si";
        Banco b({record_intero("20240105093000"), secondo});
        b.form->usa_siss = c[2] == "regionale";
        b.esito_annullamento = prova::esito_chiamato(c[3]);
        b.protocollo_lasciato = c[4];
        b.elimina(std::stoi(c[0]), c[1] == "si" ? Risposta::si : Risposta::no);
        EXPECT_EQ(b.annullati, annullato ? std::vector<std::string>{"20240105093000"}
                                         : std::vector<std::string>{})
            << caso;
        EXPECT_EQ(b.testi(), std::vector<std::string>(c.begin() + 8, c.end())) << caso;
        EXPECT_EQ(b.messaggi.mostrati.back().icona, prova::icona_chiamata(c[7])) << caso;
        EXPECT_EQ(b.browser->list1().size(), tolto ? 1U : 2U) << caso;
        EXPECT_EQ(b.form->certificati.size(), tolto ? 1U : 2U) << caso;
        EXPECT_EQ(b.cartella.leggi("paziente.txt"), tolto ? secondo + "\r\n" : "") << caso;
        EXPECT_TRUE(b.pulsanti_abilitati() && !b.pulsanti_durante) << caso;
        EXPECT_EQ(b.occupato_durante, annullato) << caso;
        EXPECT_TRUE(b.browser->Visible() && !b.form->occupato()) << caso;
    }
}

TEST(Elimina, UnaScritturaFallitaDopoLAnnullamentoLoDice) {
    // The exchange file cannot be written: the doctor is told why, the record is gone anyway,
    // since the service has cancelled it.
    Banco b({record_intero("20240105093000")});
    b.form->file_input = b.cartella.file("manca/paziente.txt");
    b.elimina(0);
    EXPECT_EQ(b.form->certificati.size(), 0U);
    ASSERT_EQ(b.messaggi.mostrati.size(), 3U);
    EXPECT_EQ(b.messaggi.mostrati[1].icona, Icona::critico);
    EXPECT_NE(b.messaggi.mostrati[1].testo.find("la cartella non esiste"), std::string::npos)
        << b.messaggi.mostrati[1].testo;
}

} // namespace
} // namespace meravo
