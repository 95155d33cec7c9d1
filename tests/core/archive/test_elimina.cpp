#include "archive/elimina.h"
#include "exchange/record_certificato.h"
#include "form/frm_meravo.h"

#include "doppi/doppi.h"

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

struct Banco {
    prova::CartellaTemporanea cartella;
    prova::MessaggiRegistrati messaggi;
    prova::OrologioFinto orologio;
    prova::PompaEventiContata pompa;
    prova::SegnaleContato segnale;
    std::unique_ptr<frm_Meravo> form;
    std::unique_ptr<Elimina> browser;
    std::vector<std::string> annullati;
    bool esito_annullamento = true;
    bool pulsanti_durante = false;
    bool occupato_durante = false;

    explicit Banco(const std::vector<std::string>& records) {
        ServiziForm servizi(messaggi, orologio, pompa, segnale, cartella.percorso());
        servizi.tabelle_icdix = std::make_shared<TabelleIcdix>();
        form = std::make_unique<frm_Meravo>(std::move(servizi));
        form->file_input = cartella.file("paziente.txt");
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
            return esito_annullamento;
        };
    }

    bool pulsanti_abilitati() const {
        return browser->visualizza.Enabled && browser->elimina.Enabled && browser->chiudi.Enabled;
    }
};

TEST(Elimina, ElencoESelezioneRiempionoLeDueCopie) {
    const std::string corto = "20240106100000" + sep + "P2" + sep + "06/01/2024";
    const std::string lungo = record_intero("20240107110000") + sep + "oltre" + sep + "ancora";
    Banco b({record_intero("20240105093000"), corto, lungo, record_intero("2024")});
    b.browser->archivio_Click();
    EXPECT_TRUE(b.browser->Visible());
    EXPECT_EQ(b.browser->list1(),
              (std::vector<std::string>{"05/01/2024 09:30:00", "06/01/2024 10:00:00",
                                        "07/01/2024 11:00:00",
                                        record_certificato::elenco_da_chiave("2024")}));
    EXPECT_EQ(b.browser->ListIndex(), -1);

    const struct {
        int indice;
        std::string campo;
        std::string atteso;
    } casi[] = {
        {1, "protocollo", "P2"},
        {1, "dt_rilascio", "06/01/2024"},
        {1, "medico", ""},
        {1, "pr_nominativo", ""},
        {2, "pr_nominativo", "v29"},
        {2, "diagnosi", "prima\r\nseconda"},
        // A key that does not survive the date form finds no record: empty copies.
        {3, "protocollo", ""},
        {3, "diagnosi", ""},
    };
    for (const auto& c : casi) {
        b.browser->list1_Click(c.indice);
        const auto& storico = b.browser->storico();
        EXPECT_EQ(storico.testo(c.campo), c.atteso) << c.indice << " " << c.campo;
        // The employer's copy shows everything but the diagnosis.
        EXPECT_EQ(storico.testo(c.campo + "2"), c.campo == "diagnosi" ? "" : c.atteso)
            << c.indice << " " << c.campo;
        EXPECT_EQ(storico.campi().size(), 58U);
    }
    // The key itself is not shown; fields 1 to 29 are, on both copies.
    b.browser->list1_Click(0);
    for (std::size_t i = 1; i < 30; ++i) {
        const std::string nome(record_certificato::nomi_campi[i]);
        EXPECT_EQ(b.browser->storico().testo(nome),
                  i == 14 ? "prima\r\nseconda" : "v" + std::to_string(i))
            << nome;
    }
    EXPECT_EQ(b.browser->storico().testo("20240105093000"), "");
}

TEST(Elimina, AperturaDisabilitaIlFormEChiusuraLoRiabilita) {
    Banco b({record_intero("20240105093000")});
    b.form->usa_siss = true;
    b.form->password.Enabled = false; // as regional start-up leaves it
    int chiusure = 0;
    b.browser->chiusura = [&] {
        ++chiusure;
        EXPECT_TRUE(b.form->Stampa.Enabled); // the form is usable when the event arrives
    };
    auto stati = [&b] {
        std::vector<bool> s;
        for (const auto* c :
             {&b.form->nome_medico, &b.form->cf_medico, &b.form->password, &b.form->cognome,
              &b.form->note_diagnosi, &b.form->cod_icdix, &b.form->nominativo_provincia}) {
            s.push_back(c->Enabled);
        }
        for (const auto* d : {&b.form->dt_nascita, &b.form->dt_fine}) {
            s.push_back(d->Enabled());
        }
        s.push_back(b.form->trova1.Enabled());
        for (const auto* p :
             {&b.form->Stampa, &b.form->salva, &b.form->archivio, &b.form->cmd_crypta}) {
            s.push_back(p->Enabled);
        }
        s.push_back(b.browser->opzioni_abilitate());
        return s;
    };
    b.browser->archivio_Click();
    EXPECT_EQ(stati(), std::vector<bool>(15, false));
    EXPECT_TRUE(b.form->sesso.Enabled); // not one of the browser's
    EXPECT_EQ(chiusure, 0);

    b.browser->chiudi_Click();
    EXPECT_FALSE(b.browser->Visible());
    EXPECT_EQ(chiusure, 1);
    EXPECT_EQ(stati(), std::vector<bool>(15, true));

    // Reopening lists the archive as it is now.
    b.form->certificati.rimuovi("20240105093000");
    b.browser->archivio_Click();
    EXPECT_TRUE(b.browser->list1().empty());
}

TEST(Elimina, VisualizzaMostraLUltimaSelezioneOChiedeDiSceglierne) {
    Banco b({record_intero("20240105093000")});
    std::vector<std::string> mostrati;
    b.browser->mostra_storico = [&](const DatiReport& s) {
        mostrati.push_back(s.testo("protocollo2"));
    };
    b.browser->archivio_Click();
    b.browser->visualizza_Click();
    ASSERT_EQ(b.messaggi.mostrati.size(), 1U);
    EXPECT_EQ(b.messaggi.mostrati[0].testo, "Selezionare un certificato da visualizzare");
    EXPECT_EQ(b.messaggi.mostrati[0].pulsanti, Pulsanti::ok);
    EXPECT_TRUE(mostrati.empty());

    b.browser->list1_Click(0);
    b.browser->visualizza_Click();
    EXPECT_EQ(mostrati, std::vector<std::string>{"v1"});
    EXPECT_EQ(b.messaggi.mostrati.size(), 1U);
}

TEST(Elimina, CancellazioneDomandaStradaEFileDiScambio) {
    const std::string domanda = "Attenzione con questa operazione verr\xE0 eliminato "
                                "definitivamente il certificato selezionato\r\nsia in locale che "
                                "sul server INPS\r\nContinuare?";
    const std::string primo = record_intero("20240105093000");
    const std::string secondo = record_intero("20240106100000");
    const struct {
        std::string caso;
        bool seleziona;
        std::deque<Risposta> risposte;
        bool esito_strada;
        std::vector<std::string> annullati;
        std::vector<std::string> messaggi;
        std::vector<std::string> elenco;
        std::string file_scambio; // empty: not written
    } casi[] = {
        {"senza selezione",
         false,
         {},
         true,
         {},
         {"Selezionare un certificato da cancellare"},
         {"05/01/2024 09:30:00", "06/01/2024 10:00:00"},
         ""},
        {"risposta no",
         true,
         {Risposta::no},
         true,
         {},
         {domanda},
         {"05/01/2024 09:30:00", "06/01/2024 10:00:00"},
         ""},
        {"servizio rifiuta",
         true,
         {Risposta::si},
         false,
         {"20240105093000"},
         {domanda},
         {"05/01/2024 09:30:00", "06/01/2024 10:00:00"},
         ""},
        {"annullato",
         true,
         {Risposta::si},
         true,
         {"20240105093000"},
         {domanda},
         {"06/01/2024 10:00:00"},
         secondo + "\r\n"},
    };
    for (const auto& c : casi) {
        Banco b({primo, secondo});
        b.esito_annullamento = c.esito_strada;
        b.messaggi.risposte = c.risposte;
        b.browser->archivio_Click();
        if (c.seleziona) {
            b.browser->list1_Click(0);
        }
        b.browser->elimina_Click();
        EXPECT_EQ(b.annullati, c.annullati) << c.caso;
        std::vector<std::string> testi;
        for (const auto& m : b.messaggi.mostrati) {
            testi.push_back(m.testo);
        }
        EXPECT_EQ(testi, c.messaggi) << c.caso;
        EXPECT_EQ(b.browser->list1(), c.elenco) << c.caso;
        EXPECT_TRUE(b.pulsanti_abilitati()) << c.caso;
        EXPECT_FALSE(b.pulsanti_durante) << c.caso;
        EXPECT_EQ(b.occupato_durante, !c.annullati.empty()) << c.caso;
        EXPECT_TRUE(b.browser->Visible() && !b.form->occupato()) << c.caso;
        EXPECT_EQ(b.form->certificati.size(), c.elenco.size()) << c.caso;
        const bool scritto = std::filesystem::exists(b.form->file_input);
        EXPECT_EQ(scritto, !c.file_scambio.empty()) << c.caso;
        if (scritto) {
            EXPECT_EQ(b.cartella.leggi("paziente.txt"), c.file_scambio) << c.caso;
        }
    }
}

TEST(Elimina, ScritturaFallitaOStradaRegionaleMancante) {
    // The exchange file cannot be written: the doctor is told why, the record is gone anyway,
    // since the service has cancelled it.
    Banco b({record_intero("20240105093000")});
    b.form->file_input = b.cartella.file("manca/paziente.txt");
    b.messaggi.risposte = {Risposta::si};
    b.browser->archivio_Click();
    b.browser->list1_Click(0);
    b.browser->elimina_Click();
    EXPECT_EQ(b.form->certificati.size(), 0U);
    ASSERT_EQ(b.messaggi.mostrati.size(), 2U);
    EXPECT_EQ(b.messaggi.mostrati[1].icona, Icona::critico);
    EXPECT_NE(b.messaggi.mostrati[1].testo.find("la cartella non esiste"), std::string::npos)
        << b.messaggi.mostrati[1].testo;

    // Regional mode without the regional component: said so, nothing cancelled or removed.
    Banco r({record_intero("20240105093000")});
    r.form->usa_siss = true;
    r.messaggi.risposte = {Risposta::si};
    r.browser->archivio_Click();
    r.browser->list1_Click(0);
    r.browser->elimina_Click();
    EXPECT_TRUE(r.annullati.empty());
    EXPECT_EQ(r.form->certificati.size(), 1U);
    ASSERT_EQ(r.messaggi.mostrati.size(), 2U);
    EXPECT_EQ(r.messaggi.mostrati[1].testo, "Il componente regionale non \xE8 disponibile: "
                                            "impossibile annullare il certificato.");
    EXPECT_EQ(r.messaggi.mostrati[1].icona, Icona::esclamazione);
    EXPECT_FALSE(std::filesystem::exists(r.form->file_input));
    EXPECT_TRUE(r.pulsanti_abilitati());
}

} // namespace
} // namespace meravo
