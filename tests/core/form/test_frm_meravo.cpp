#include "form/frm_meravo.h"

#include "doppi/banco_form.h"
#include "exchange/record_certificato.h"
#include "national/invio_inps.h"
#include "process/processo_figlio.h"
#include "process/riga_comando.h"
#include "report/copie_certificato.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace meravo {
namespace {

namespace fs = std::filesystem;

// A program folder with the sample tables in "tabelle/".
struct Banco : prova::BancoForm {
    Banco() { copia_tabelle(MERAVO_DATI_ESEMPIO); }
};

const std::string paziente = prova::paziente();

// The journals of sends in `cartella`.
std::size_t diari(const fs::path& cartella) {
    std::size_t n = 0;
    for (const auto& voce : fs::directory_iterator(cartella)) {
        n += voce.path().filename().string().starts_with("invio_in_corso_");
    }
    return n;
}

TEST(FormAvvio, RiempieIlFormCancellaLInputECompletaLaProvincia) {
    Banco b;
    auto& f = b.avvia(paziente + "000certificato=20240105093000\xA7P1\r\n", "  " + b.input() + " ");
    EXPECT_FALSE(f.terminato());
    EXPECT_FALSE(fs::exists(b.input()));
    EXPECT_EQ(f.file_input, b.input()); // the command line, trimmed
    EXPECT_EQ(f.cognome.Text + " " + f.nome.Text + " " + f.provincia_nascita.Text,
              "Bianchi Anna MI");
    EXPECT_EQ(f.dt_rilascio.Text() + f.dt_inizio.Text() + "|" + f.dt_fine.Text(),
              "05/01/202405/01/2024|");
    EXPECT_EQ(f.certificati.chiavi(), std::vector<std::string>{"20240105093000"});
    EXPECT_EQ(f.password.BackColor, colori::rosa_obbligatori);
    EXPECT_FALSE(f.siss.Visible || f.modo_test);
    EXPECT_TRUE(b.messaggi.mostrati.empty());

    // The birth province comes from the municipalities' table, only when none was given.
    const struct {
        std::string righe, provincia;
    } casi[] = {{"000com nascita=Roma\r\n000prov nascita=XX\r\n", "XX"},
                {"000com nascita=Atlantide\r\n", ""},
                {"000com nascita=  forl\xEC\r\n", "FC"}};
    for (const auto& c : casi) {
        Banco altro;
        EXPECT_EQ(altro.avvia(c.righe).provincia_nascita.Text, c.provincia) << c.righe;
    }
}

TEST(FormAvvio, ModoRegionaleSenzaCredenzialiConPortaleECifraturaNascosta) {
    Banco b;
    auto& f = b.avvia("000siss= S \r\n");
    EXPECT_TRUE(f.usa_siss && f.siss.Visible);
    for (const auto* c : {&f.password, &f.cf_medico}) {
        EXPECT_FALSE(c->Enabled);
        EXPECT_EQ(c->BackColor, colori::sfondo_finestra);
    }
    f.siss_Click(); // the doctor says No to the portal (Yes: the next test)
    EXPECT_TRUE(b.indirizzi_aperti.empty());
    b.browser = false; // Yes, and no browser opens: the doctor is told where to go
    b.messaggi.risposte = {Risposta::si};
    f.siss_Click();
    EXPECT_EQ(b.testi().back(), "Impossibile aprire il browser: aprire a mano l'indirizzo "
                                "https://www.crs.lombardia.it/CertificatidiMalattia/");

    InvioInps invio(f);
    collega_invio_nazionale(f, invio);
    f.cmd_crypta_Click();
    ASSERT_EQ(b.comandi_avviati.size(), 1U);
    EXPECT_NE(b.comandi_avviati[0].find(" rsautl -encrypt -in "), std::string::npos);
    EXPECT_NE(b.comandi_avviati[0].find("CF.enc"), std::string::npos);
}

TEST(FormAvvio, UnIndirizzoSostitutoValeSoloInProvaESoloSuHttps) {
    const std::string prova = "https://certservicetest.sanita.finanze.it";
    const struct {
        bool prova;
        std::string host, inps, portale;
    } casi[] = {
        {true, "https://127.0.0.1:8443", "https://127.0.0.1:8443", "https://127.0.0.1:8443"},
        {true, "http://127.0.0.1:8080", prova, "https://www.crs.lombardia.it"},
        {true, "https://", prova, "https://www.crs.lombardia.it"},
        {false, "https://127.0.0.1:8443", "https://certservice.sanita.finanze.it",
         "https://www.crs.lombardia.it"},
    };
    for (const auto& c : casi) {
        Banco b;
        if (c.prova) {
            b.cartella.scrivi("debug_inps.txt", "");
        }
        b.ambiente["MERAVO_INPS_HOST"] = b.ambiente["MERAVO_PORTALE_SISS_HOST"] = c.host;
        auto& f = b.avvia(paziente);
        EXPECT_EQ(f.modo_test, c.prova);
        const std::string servizi = c.inps + "/TrasmissioneCertificatiWeb/services/";
        EXPECT_EQ(f.endpoint_invio, servizi + "InvioCertificato") << c.host;
        EXPECT_EQ(f.endpoint_annullamento, servizi + "AnnullamentoCertificato") << c.host;
        b.messaggi.risposte = {Risposta::si};
        f.siss_Click();
        EXPECT_EQ(b.indirizzi_aperti,
                  std::vector<std::string>{c.portale + "/CertificatidiMalattia/"});
        // A copy of the test service says it is worth nothing.
        f.dt_fine.Text("10/01/2024");
        f.cod_icdix.Text = "1";
        f.invio_nazionale = [] { return EsitoInvio::riuscito; };
        f.Stampa_Click();
        EXPECT_EQ(f.lavoratore.testo("avviso_prova"),
                  c.prova ? "Inviato al servizio di prova INPS: copia priva di qualsiasi valore"
                          : "");
    }
}

// Another module on the exchange file, in a process of its own, until it is told to end or
// ends as a crash would.
std::unique_ptr<ProcessoFiglio> altro_modulo(const std::string& file, const std::string& come) {
    auto avvio = ProcessoFiglio::avvia(riga_comando::quota_argomento(MERAVO_ISTANZA) + " istanza " +
                                       riga_comando::quota_argomento(file) + " " + come);
    auto* figlio = std::get_if<std::unique_ptr<ProcessoFiglio>>(&avvio);
    std::string uscita;
    char blocco[64];
    while (figlio != nullptr && uscita.find("preso") == std::string::npos) {
        const auto letti = (*figlio)->leggi(blocco, sizeof blocco);
        if (!letti) {
            return nullptr;
        }
        uscita.append(blocco, *letti);
    }
    return figlio == nullptr ? nullptr : std::move(*figlio);
}

TEST(FormAvvio, UnSecondoModuloSulloStessoFileNonLoTocca) {
    Banco b;
    const std::string fine = b.cartella.file("fine");
    b.cartella.scrivi("paziente.txt", "000cognome=Bianchi\r\n");
    auto altro = altro_modulo(b.input(), "tieni " + riga_comando::quota_argomento(fine));
    ASSERT_NE(altro, nullptr);
    b.avvia(paziente);
    EXPECT_TRUE(b.form->terminato());
    EXPECT_EQ(b.testi(), std::vector<std::string>{"Il certificato di questo paziente \xE8 gi\xE0 "
                                                  "aperto in un'altra finestra: completarlo o "
                                                  "chiuderlo l\xEC."});
    EXPECT_TRUE(fs::exists(b.input())); // not read, not deleted
    b.cartella.scrivi("fine", "");
    EXPECT_EQ(altro->attendi_fine(), 0);

    // A module that crashed holding the file keeps nobody out.
    ASSERT_NE(altro_modulo(b.input(), "abbandona"), nullptr);
    Banco dopo;
    dopo.avvia(paziente, b.input());
    EXPECT_FALSE(dopo.form->terminato());
    EXPECT_FALSE(fs::exists(b.input()));
}

TEST(FormAvvio, SenzaRigaDiComandoOTabelleFiniscePerUnFileDiScambioIlleggibileAvvisa) {
    Banco vuoto;
    vuoto.avvia("", "   ");
    EXPECT_TRUE(vuoto.form->terminato());
    EXPECT_EQ(vuoto.testi(), std::vector<std::string>{"Impossibile continuare con il caricamento"});
    for (const std::string tabella : {"icdIX_completo.tda", "comuni.tda"}) {
        Banco b;
        fs::remove(b.cartella.percorso() / "tabelle" / tabella);
        b.avvia(paziente);
        EXPECT_EQ(b.fine, std::vector<int>{0});
        // One message, the first table missing, and no other attempt.
        EXPECT_EQ(b.testi(), std::vector<std::string>{"File " + b.tabelle() + tabella +
                                                      " mancante. Impossibile continuare il "
                                                      "caricamento."});
        EXPECT_EQ(b.messaggi.mostrati.at(0).icona, Icona::critico);
    }
    // An exchange file that cannot be read: said before anything else.
    Banco illeggibile;
    const auto altro = illeggibile.cartella.file("altro paziente.txt");
    illeggibile.avvia(paziente, altro);
    ASSERT_FALSE(illeggibile.messaggi.mostrati.empty());
    EXPECT_EQ(illeggibile.primo_messaggio(),
              "Impossibile leggere il file di scambio " + altro +
                  ": il modulo prosegue senza i dati del paziente e i suoi certificati.");
    EXPECT_EQ(illeggibile.messaggi.mostrati[0].titolo, "Ostrel 2");
}

// Pink fields left blank one by one on both roads (blanks are nothing; the message names what is
// missing by the labels the doctor sees), or an end date refused: nothing is sent; a refused or
// failed send gives the buttons back and leaves no journal.
TEST(FormObbligatori, CampoRosaVuotoODataRespintaNonParte) {
    const auto casi = prova::casi_da_file(MERAVO_ATTESI "/stampa_respinta.txt");
    ASSERT_EQ(casi.size(), 22U);
    for (auto c : casi) {
        c.resize(5);
        Banco b;
        auto& f = b.compilato(
            c[0] == "regionale" ? "000password=\r\n000pin=\r\n000utente=\r\n000siss=S\r\n" : "");
        f.note_diagnosi.Text = "Febbre";
        for (const auto& campo : prova::parti(c[1], ',')) {
            f.imposta_testo(campo, " ");
        }
        if (!c[2].empty()) {
            f.dt_fine.Text(c[2]);
            f.dt_fine.prende_fuoco();
            f.dt_fine.perde_fuoco();
        }
        int invii = 0;
        f.invio_nazionale = f.invio_regionale = [&] { return ++invii, EsitoInvio::rifiutato; };
        f.Stampa_Click();
        if (c[4] == "respinta") { // nothing at all acts on it, not even "Salva/Esci"
            EXPECT_FALSE(f.salva_Click()) << c[2];
            EXPECT_FALSE(f.terminato());
        }
        EXPECT_EQ(invii, c[3].empty() ? 1 : 0) << c[1] << c[2];
        EXPECT_EQ(b.testi(),
                  c[3].empty() ? std::vector<std::string>{} : std::vector<std::string>{c[3]})
            << c[1] << c[2];
        EXPECT_TRUE(f.Stampa.Enabled && f.salva.Enabled && f.archivio.Enabled);
        EXPECT_EQ(diari(b.cartella.percorso()), 0U) << c[1];
        if (!c[2].empty()) { // mended, the press works: a prognosis of one day ends where it starts
            f.dt_fine.Text("05/01/2024");
            f.Stampa_Click();
            EXPECT_EQ(invii, 1) << c[2];
        }
    }
    // Without a road the doctor is told.
    Banco b;
    b.compilato().Stampa_Click();
    EXPECT_EQ(b.testi(), std::vector<std::string>{"L'invio al servizio nazionale non \xE8 "
                                                  "disponibile."});
}

TEST(FormObbligatori, UnaPressioneDuranteLInvioNonNeAvviaUnAltro) {
    Banco b;
    auto& f = b.compilato();
    int invii = 0;
    bool mostrato_occupato = false;
    std::vector<bool> occupato_alle_pompe;
    b.pompa.azione = [&] { occupato_alle_pompe.push_back(f.occupato()); };
    f.stato_cambiato = [&] {
        mostrato_occupato = mostrato_occupato || (f.occupato() && !f.Stampa.Enabled);
    };
    f.invio_nazionale = [&] {
        ++invii;
        EXPECT_TRUE(mostrato_occupato); // on screen before the send blocks the window
        EXPECT_EQ(f.attivita(), "Invio del certificato in corso\x85");
        // A double click, the mnemonic again, the other buttons: all while the send waits.
        f.Stampa_Click();
        EXPECT_FALSE(f.salva_Click());
        EXPECT_FALSE(f.chiusura_richiesta()); // nor closing: it may reach INPS and never its record
        return invii == 1 ? EsitoInvio::rifiutato
                          : (f.protocollo = "P" + std::to_string(invii), EsitoInvio::riuscito);
    };
    b.messaggi.risposte = {Risposta::si}; // to close, if it were asked
    f.Stampa_Click();                     // refused by the service: the form is ready again
    EXPECT_FALSE(f.occupato());
    // Events run when the send starts and once more at its end, still busy, so that clicks
    // queued meanwhile are dropped rather than acted on once the buttons are back.
    EXPECT_EQ(occupato_alle_pompe, (std::vector<bool>{true, true}));
    EXPECT_TRUE(f.Stampa.Enabled);
    f.Stampa_Click();
    f.Stampa_Click(); // after the certificate went out
    EXPECT_EQ(invii, 2);
    ASSERT_EQ(f.certificati.size(), 1U);
    EXPECT_EQ(record_certificato::campi(*f.certificati.leggi(f.certificati.chiavi()[0]))[1], "P2");
    EXPECT_FALSE(f.occupato());
}

// A certificate filled in every part, each field with a value of its own, sent through a road
// that answers with a protocol.
frm_Meravo& pronto_da_inviare(Banco& b, const std::string& righe = "") {
    auto& f = b.compilato("000nome medico= Rossi*Mario \r\n000cod regione=030\r\n000asl=308\r\n"
                          "000data nascita=01/02/1980\r\n000prov nascita=MB\r\n" +
                          righe);
    f.dt_rilascio.Text("04/01/2024");
    f.note_diagnosi.Text = "  Febbre alta\r\ne tosse\xA7secca ";
    for (const auto& [campo, valore] : {std::pair{"nominativo", "c/o Verdi"},
                                        {"nominativo_via", " Via Verdi 2 "},
                                        {"nominativo_cap", "23900"},
                                        {"nominativo_comune", "Lecco"},
                                        {"nominativo_provincia", "LC"}}) {
        f.imposta_testo(campo, valore);
    }
    f.opt_tipo = 2;
    f.opt_visita = -1; // no visit option chosen
    f.invio_nazionale = [&f] { return f.protocollo = "PROT123", EsitoInvio::riuscito; };
    return f;
}

TEST(FormStampa, IlRecordArchiviatoEQuelloCheLaCopiaMostra) {
    Banco b;
    b.cartella.scrivi("restituzione_certificati_inps.txt", "vecchio");
    // The caller keeps its exchange file to itself: so does the file written back.
    constexpr auto privato = fs::perms::owner_read | fs::perms::owner_write;
    b.cartella.scrivi("paziente.txt", "");
    fs::permissions(b.input(), privato);
    // A record of the caller already holds this very second: the new one takes the next.
    auto& f = pronto_da_inviare(b, "000certificato=20240105093000\xA7P0\r\n");
    DatiReport mostrata;
    f.mostra_lavoratore = [&](const DatiReport& d) { mostrata = d; };
    // Events run once with the copy on screen, the exchange file already holding the
    // certificate (and once before, when the send starts).
    std::vector<std::string> file_alla_pompa;
    b.pompa.azione = [&] {
        if (mostrata.contiene("protocollo") && file_alla_pompa.empty()) {
            file_alla_pompa.push_back(b.cartella.leggi("paziente.txt"));
        }
    };
    f.DataReport_AsyncProgress(1, 1); // nothing sent yet: no copy to have printed
    f.Stampa_Click();
    EXPECT_EQ(file_alla_pompa, std::vector<std::string>{b.cartella.leggi("paziente.txt")});
#ifndef _WIN32
    EXPECT_EQ(fs::status(b.input()).permissions(), privato);
#endif
    EXPECT_FALSE(f.Stampa.Enabled || f.salva.Enabled || f.archivio.Enabled); // it went out

    // The exchange file, and both copies field by field: as printed, and as the archive
    // browser reads them back from the record.
    EXPECT_EQ(b.cartella.leggi("paziente.txt"),
              prova::CartellaTemporanea::leggi_file(MERAVO_ATTESI "/paziente_scritto.txt"));
    const auto storico =
        copie_certificato::storico_da_record(f.certificati.leggi("20240105093001").value_or(""));
    const auto attese = prova::casi_da_file(MERAVO_ATTESI "/copie_attese.txt");
    ASSERT_EQ(attese.size(), 58U);
    for (const auto& c : attese) {
        EXPECT_EQ(storico.testo(c.at(0)), c.at(1)) << c[0];
        EXPECT_EQ(c[0].ends_with('2') ? c[1] : mostrata.testo(c[0]), c[1]) << c[0];
    }
    EXPECT_FALSE(fs::exists(b.cartella.percorso() / "restituzione_certificati_inps.txt"));
    // After the archive: a page that is not the last one leaves the module open; the last ends it.
    f.DataReport_AsyncProgress(1, 2);
    EXPECT_FALSE(f.terminato());
    f.DataReport_AsyncProgress(2, 2);
    EXPECT_EQ(b.fine, std::vector<int>{0});
}

TEST(FormStampa, LUltimaPaginaChiudeIlModuloSoloDopoLArchivio) {
    // The last page signalled while the preview comes up: acted on once the file is written.
    Banco b;
    auto& f = pronto_da_inviare(b);
    bool file_alla_fine = false;
    f.fine_programma = [&](int codice) {
        b.fine.push_back(codice);
        file_alla_fine = fs::exists(b.input());
    };
    b.pompa.azione = [&] {
        f.DataReport_AsyncProgress(1, 1);
        EXPECT_TRUE(!f.terminato() || fs::exists(b.input()));
    };
    f.Stampa_Click();
    EXPECT_EQ(b.fine, std::vector<int>{0});
    EXPECT_TRUE(file_alla_fine);
}

TEST(FormStampa, EsitoNonNotoTieneIlFormEChiedePrimaDiInviareDiNuovo) {
    Banco b;
    auto& f = pronto_da_inviare(b);
    const EsitoInvio esiti[] = {EsitoInvio::incerto, EsitoInvio::rifiutato, EsitoInvio::riuscito};
    int invii = 0;
    f.invio_nazionale = [&] { return esiti[invii++]; };
    f.Stampa_Click();
    EXPECT_TRUE(f.Stampa.Enabled && f.salva.Enabled && f.archivio.Enabled);
    EXPECT_EQ(f.note_diagnosi.Text, "  Febbre alta\r\ne tosse\xA7secca ");
    f.Stampa_Click(); // No, the answer of Enter: nothing goes
    ASSERT_EQ(b.messaggi.mostrati.size(), 1U);
    EXPECT_EQ(b.messaggi.mostrati[0].pulsanti, Pulsanti::si_no_no_predefinito);
    EXPECT_TRUE(b.primo_messaggio().starts_with("L'esito dell'invio precedente di questo "
                                                "certificato non \xE8 noto"));
    b.messaggi.risposte = {Risposta::si, Risposta::si};
    f.Stampa_Click(); // refused: the first outcome is still not known
    EXPECT_EQ(diari(b.cartella.percorso()), 1U);
    f.Stampa_Click();
    EXPECT_EQ(invii, 3);
    EXPECT_EQ(b.messaggi.mostrati.size(), 3U);
    EXPECT_EQ(f.certificati.size(), 1U);
    EXPECT_EQ(diari(b.cartella.percorso()), 0U);

    // Left with the outcome unknown: the next start says so, once.
    Banco chiuso;
    auto& g = pronto_da_inviare(chiuso);
    g.invio_nazionale = [] { return EsitoInvio::incerto; };
    g.Stampa_Click();
    chiuso.avvia(paziente);
    EXPECT_EQ(chiuso.testi(),
              std::vector<std::string>{
                  "L'esito dell'invio del certificato di malattia di Bianchi Anna "
                  "(BNCNNA80A41F205X), dal 05/01/2024 al 10/01/2024, rilasciato il 04/01/2024, "
                  "iniziato il 05/01/2024 09:30:00 (invio nazionale) non \xE8 noto: il "
                  "certificato potrebbe essere stato emesso dall'INPS senza essere stato "
                  "archiviato. Verificare sul portale INPS prima di inviarlo di nuovo."});
    EXPECT_EQ(diari(chiuso.cartella.percorso()), 0U);
}

TEST(FormSalva, UnaScritturaFallitaNonEUnSalvataggio) {
    Banco b;
    auto& f = pronto_da_inviare(b, "000certificato=1\xA7"
                                   "a\r\n");
    // The exchange path now names a folder that holds a file: the new file is written beside
    // it and the final rename fails, as a crash between the two steps would leave it.
    fs::create_directory(b.input());
    b.cartella.scrivi("paziente.txt/dentro", "vecchio");
    b.pompa.azione = [&] { f.DataReport_AsyncProgress(1, 1); };
    f.Stampa_Click();
    f.DataReport_AsyncProgress(1, 1);
    EXPECT_FALSE(f.terminato());
    ASSERT_EQ(b.messaggi.mostrati.size(), 1U);
    EXPECT_NE(b.primo_messaggio().find(b.input()), std::string::npos);
    EXPECT_EQ(b.messaggi.mostrati[0].icona, Icona::critico);
    EXPECT_EQ(b.cartella.leggi("paziente.txt/dentro"), "vecchio");
    std::size_t file = 0;
    for (const auto& voce : fs::directory_iterator(b.cartella.percorso())) {
        file += voce.path().extension() == ".in_uso" ? 0 : 1; // the running module's own hold
    }
    // tabelle/, the folder and the journal of a certificate sent and not yet archived: no
    // temporary file left behind.
    EXPECT_EQ(file, 3U);
    EXPECT_EQ(diari(b.cartella.percorso()), 1U);
    // Only "Salva/Esci" comes back, to write the certificate once the cause is mended.
    EXPECT_FALSE(f.Stampa.Enabled || f.archivio.Enabled);
    EXPECT_FALSE(f.salva_Click());
    EXPECT_EQ(b.messaggi.mostrati.size(), 2U);

    fs::remove_all(b.input());
    EXPECT_TRUE(f.salva_Click()); // the doctor retries, and the module ends
    EXPECT_EQ(b.fine, std::vector<int>{0});
    EXPECT_EQ(diari(b.cartella.percorso()), 0U);
    const auto scritto = b.cartella.leggi("paziente.txt");
    EXPECT_TRUE(scritto.starts_with("1\xA7"
                                    "a\r\n"));
    EXPECT_EQ(record_certificato::campi(scritto.substr(4))[1], "PROT123");
}

TEST(FormChiusura, ChiedePrimaDiPerdereIlCertificatoCompilato) {
    const struct {
        std::function<void(frm_Meravo&)> prepara;
        Risposta risposta;
        bool chiude, chiede;
    } casi[] = {
        {[](frm_Meravo&) {}, Risposta::no, true, false},
        {[](frm_Meravo& f) { f.note_diagnosi.Text = "x"; }, Risposta::no, false, true},
        {[](frm_Meravo& f) { f.opt_visita = 1; }, Risposta::si, true, true},
        {[](frm_Meravo& f) {
             f.dt_fine.Text("10/01/2024");
             f.cod_icdix.Text = "487.1";
             f.invio_nazionale = [] { return EsitoInvio::riuscito; };
             f.Stampa_Click();
         },
         Risposta::no, true, false},
    };
    for (const auto& c : casi) {
        Banco b;
        auto& f = b.avvia(paziente);
        c.prepara(f);
        b.messaggi.risposte = {c.risposta};
        EXPECT_EQ(f.chiusura_richiesta(), c.chiude);
        EXPECT_EQ(b.testi(), c.chiede ? std::vector<std::string>{"Chiudere senza salvare il "
                                                                 "certificato?"}
                                      : std::vector<std::string>{});
    }
}

TEST(FormCampi, IlLimiteFermaLaDigitazioneNonIlValoreDelProgramma) {
    const auto casi = prova::casi_da_file(MERAVO_ATTESI "/digitazione.txt");
    ASSERT_EQ(casi.size(), 5U);
    for (const auto& c : casi) {
        Campo campo{c.at(1)};
        campo.MaxLength = std::stoi(c[0]);
        EXPECT_EQ(campo.accetta_digitato(c.at(2)), c.at(3) == "accettato") << c[1] << "->" << c[2];
    }
}

TEST(FormDiagnosi, CodiceDallaCella) {
    const auto casi = prova::casi_da_file(MERAVO_ATTESI "/celle_diagnosi.txt");
    ASSERT_EQ(casi.size(), 6U);
    for (const auto& c : casi) {
        EXPECT_EQ(codice_da_cella(c.at(0)), c.at(1)) << c[0];
    }
}

} // namespace
} // namespace meravo
