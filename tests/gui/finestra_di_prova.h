#pragma once

#include "doppi/banco_form.h"
#include "form/finestra_meravo.h"

#include <QtTest>
#include <functional>

namespace meravo::prova {

// The form started on the sample tables and an exchange file holding `righe` after the tables
// folder; `apri` puts its window on screen, offscreen, and makes it the active one.
struct FinestraDiProva : BancoForm {
    std::unique_ptr<FinestraMeravo> finestra;

    explicit FinestraDiProva(const std::string& righe) {
        copia_tabelle(MERAVO_DATI_ESEMPIO);
        avvia(righe);
    }
    // What the mandatory rule still wants once the exchange file gave the rest.
    void compila() {
        form->dt_fine.Text("10/01/2024");
        form->cod_icdix.Text = "487.1";
    }

    // `prima` binds whatever else the window needs before it shows.
    bool apri(const std::function<void(FinestraMeravo&)>& prima = {}) {
        finestra = std::make_unique<FinestraMeravo>(*form);
        if (prima) {
            prima(*finestra);
        }
        finestra->mostra_nello_schermo();
        finestra->activateWindow();
        return QTest::qWaitForWindowActive(finestra.get());
    }

    template <typename T> T* figlio(const char* nome) {
        return finestra->findChild<T*>(QString::fromLatin1(nome));
    }

    // The stand-ins of curl and openssl in the program's Sogei folder, answering `risposta`
    // ("{n}" there: the number of the post), and the pending window events run whenever the
    // module lets them, as they do on screen.
    void usa_sostituti(const std::string& risposta) {
        namespace fs = std::filesystem;
        fs::create_directories(cartella.percorso() / "Sogei");
        for (const char* nome : {"curl", "openssl"}) {
            fs::copy_file(MERAVO_SOSTITUTO, cartella.percorso() / "Sogei" / nome);
        }
        cartella.scrivi("Sogei/risposta_sostituto.txt", risposta);
        pompa.azione = [] { QCoreApplication::processEvents(); };
    }
    // How many requests reached the curl stand-in.
    std::size_t richieste() const { return cartella.leggi("Sogei/invii.txt").size(); }
};

} // namespace meravo::prova
