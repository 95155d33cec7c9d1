#pragma once

#include "services/esito.h"
#include "services/messaggi.h"
#include "services/orologio.h"
#include "services/pompa_eventi.h"
#include "services/segnale.h"

#include <cmath>
#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace meravo::prova {

// Records every message shown and answers Yes/No questions from a script (No when the script
// has run out, so a forgotten answer never confirms anything).
class MessaggiRegistrati final : public Messaggi {
public:
    struct Voce {
        std::string testo;
        std::string titolo;
        Icona icona;
        Pulsanti pulsanti;
    };

    Risposta mostra(std::string_view testo, std::string_view titolo, Icona icona,
                    Pulsanti pulsanti) override;
    // Every text shown so far, in order.
    std::vector<std::string> testi() const {
        std::vector<std::string> t;
        for (const auto& m : mostrati) {
            t.push_back(m.testo);
        }
        return t;
    }

    std::vector<Voce> mostrati;
    std::deque<Risposta> risposte;
    std::function<void()> azione; // runs while each message is shown
};

// A clock that moves only when told to, or when code waits on it.
class OrologioFinto final : public Orologio {
public:
    DataOra adesso() const override { return data_ora; }
    double secondi_da_mezzanotte() const override {
        const double letto = std::fmod(secondi + scarto_letture_, 86400.0);
        scarto_letture_ += passo_per_lettura;
        return letto;
    }
    void pausa(std::chrono::milliseconds durata) override {
        ++pause;
        avanza(std::chrono::duration<double>(durata).count());
    }
    void avanza(double s) { secondi = std::fmod(secondi + s, 86400.0); }

    DataOra data_ora{2024, 1, 5, 9, 30, 0};
    double secondi = 9 * 3600 + 30 * 60;
    double passo_per_lettura = 0; // time that passes at every reading
    int pause = 0;

private:
    mutable double scarto_letture_ = 0;
};

class PompaEventiContata final : public PompaEventi {
public:
    void esegui_eventi_in_attesa() override {
        ++chiamate;
        if (azione) {
            azione();
        }
    }
    int chiamate = 0;
    std::function<void()> azione;
};

class SegnaleContato final : public Segnale {
public:
    void beep() override { ++beep_emessi; }
    int beep_emessi = 0;
};

// A fresh folder under the system's temporary folder, removed with everything in it.
class CartellaTemporanea {
public:
    CartellaTemporanea();
    ~CartellaTemporanea() {
        std::error_code ignorato;
        std::filesystem::remove_all(percorso_, ignorato);
    }
    CartellaTemporanea(const CartellaTemporanea&) = delete;
    CartellaTemporanea& operator=(const CartellaTemporanea&) = delete;

    const std::filesystem::path& percorso() const { return percorso_; }
    // Full path of a file in the folder, as the core takes paths (a text).
    std::string file(const std::string& nome) const { return (percorso_ / nome).string(); }
    void scrivi(const std::string& nome, const std::string& contenuto) const;
    std::string leggi(const std::string& nome) const { return leggi_file(percorso_ / nome); }
    static std::string leggi_file(const std::filesystem::path& file);

private:
    std::filesystem::path percorso_;
};

// Copies the sample tables (diagnoses, municipalities, foreign states) from `dati` into
// `cartella`, which is created.
void copia_tabelle_esempio(const std::filesystem::path& dati,
                           const std::filesystem::path& cartella);

// An expected document, stored with LF line ends, as the module writes it: CR LF between lines
// and none after the last.
std::string documento_atteso(const std::filesystem::path& file);

// The parts of a text between the separators, empty ones kept.
std::vector<std::string> parti(std::string_view testo, char separatore);

// The cases of a data file walked by one test body: a line each, columns a tab apart (empty
// ones kept); blank lines and lines starting with '#' are comments. Unless `escape` is false, in a
// column \r \n \t \xHH and a doubled backslash stand for their bytes; any other backslash is
// itself.
std::vector<std::vector<std::string>> casi_da_file(const std::filesystem::path& file,
                                                   bool escape = true);

// An outcome and an icon as the case files name them ("riuscito", "esclamazione"...).
EsitoInvio esito_chiamato(const std::string& nome);
Icona icona_chiamata(const std::string& nome);

// Path of a helper program built into the same folder as the running test executable.
std::string percorso_accanto(const std::string& nome);

} // namespace meravo::prova
