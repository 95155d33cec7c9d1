#pragma once

#include "doppi/doppi.h"
#include "main/finestra_meravo.h"
#include "main/frm_meravo.h"

#include <QtTest>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace meravo::prova {

// The form started on the sample tables and an exchange file holding `righe` after the tables
// folder; `apri` puts its window on screen, offscreen, and makes it the active one.
struct FinestraDiProva {
    CartellaTemporanea cartella;
    MessaggiRegistrati messaggi;
    OrologioFinto orologio;
    PompaEventiContata pompa;
    SegnaleContato segnale;
    std::unique_ptr<frm_Meravo> form;
    std::unique_ptr<FinestraMeravo> finestra;
    std::vector<int> fine; // the codes the module ended with

    FinestraDiProva(const std::filesystem::path& dati, const std::string& righe) {
        copia_tabelle_esempio(dati, cartella.percorso() / "tabelle");
        cartella.scrivi("paziente.txt",
                        "000direttorio tabelle=" + (cartella.percorso() / "tabelle").string() +
                            "/\r\n" + righe);
        form = std::make_unique<frm_Meravo>(
            ServiziForm(messaggi, orologio, pompa, segnale, cartella.percorso()));
        form->fine_programma = [this](int codice) { fine.push_back(codice); };
        form->avvia(cartella.file("paziente.txt"));
    }

    // `prima` binds whatever else the window needs before it shows.
    bool apri(const std::function<void(FinestraMeravo&)>& prima = {}) {
        finestra = std::make_unique<FinestraMeravo>(*form);
        if (prima) {
            prima(*finestra);
        }
        finestra->show();
        finestra->activateWindow();
        return QTest::qWaitForWindowActive(finestra.get());
    }

    template <typename T> T* figlio(const char* nome) {
        return finestra->findChild<T*>(QString::fromLatin1(nome));
    }
};

} // namespace meravo::prova
