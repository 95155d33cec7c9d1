#include "stato_servizio.h"

#include <pugixml.hpp>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <sstream>
#include <system_error>

namespace meravo::simulatore {

namespace {

constexpr const char* radice_stato = "statoSimulatoreInps";

std::string maiuscolo(std::string_view testo) {
    std::string uscita(testo);
    std::transform(uscita.begin(), uscita.end(), uscita.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return uscita;
}

// Writes the whole text to a file of the user only, flushed to the disk.
bool scrivi_riservato(const std::filesystem::path& file, const std::string& testo) {
    const int descrittore = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (descrittore < 0) {
        return false;
    }
    std::size_t scritti = 0;
    while (scritti < testo.size()) {
        const auto fatto = ::write(descrittore, testo.data() + scritti, testo.size() - scritti);
        if (fatto <= 0) {
            ::close(descrittore);
            return false;
        }
        scritti += static_cast<std::size_t>(fatto);
    }
    const bool salvato = ::fsync(descrittore) == 0;
    return ::close(descrittore) == 0 && salvato;
}

} // namespace

std::optional<StatoServizio> StatoServizio::apri(const std::optional<std::filesystem::path>& file,
                                                 std::string& errore) {
    StatoServizio stato(file, Dati{});
    if (!file) {
        return stato;
    }
    std::error_code codice;
    if (std::filesystem::exists(*file, codice)) {
        if (!stato.leggi(errore)) {
            return std::nullopt;
        }
    } else if (!stato.salva(stato.dati_)) {
        errore = "impossibile scrivere il file di stato " + file->string();
        return std::nullopt;
    }
    return stato;
}

bool StatoServizio::leggi(std::string& errore) {
    pugi::xml_document documento;
    const auto lettura = documento.load_file(file_->c_str());
    const auto radice = documento.child(radice_stato);
    if (!lettura || !radice) {
        // Never start over a file that is not ours: saving would destroy it.
        errore = "il file di stato " + file_->string() + " non e' leggibile: " +
                 (lettura ? std::string("elemento ") + radice_stato + " mancante"
                          : std::string(lettura.description()));
        return false;
    }
    dati_.ultimo_certificato =
        radice.attribute("ultimoCertificato").as_ullong(dati_.ultimo_certificato);
    dati_.ultimo_annullamento =
        radice.attribute("ultimoAnnullamento").as_ullong(dati_.ultimo_annullamento);
    for (const auto nodo : radice.children("certificato")) {
        dati_.certificati[nodo.attribute("idCertificato").value()] = Certificato{
            nodo.attribute("codiceFiscale").value(), nodo.attribute("idAnnullamento").value()};
    }
    return true;
}

bool StatoServizio::salva(const Dati& dati) const {
    if (!file_) {
        return true;
    }
    pugi::xml_document documento;
    auto radice = documento.append_child(radice_stato);
    radice.append_attribute("ultimoCertificato").set_value(dati.ultimo_certificato);
    radice.append_attribute("ultimoAnnullamento").set_value(dati.ultimo_annullamento);
    for (const auto& [id, certificato] : dati.certificati) {
        auto nodo = radice.append_child("certificato");
        nodo.append_attribute("idCertificato").set_value(id.c_str());
        nodo.append_attribute("codiceFiscale").set_value(certificato.codice_fiscale.c_str());
        if (!certificato.id_annullamento.empty()) {
            nodo.append_attribute("idAnnullamento").set_value(certificato.id_annullamento.c_str());
        }
    }
    std::ostringstream testo;
    documento.save(testo, "  ");

    // A reader (or a crash) sees either the old file or the new one, never half of one.
    auto provvisorio = *file_;
    provvisorio += "." + std::to_string(::getpid()) + ".tmp";
    std::error_code codice;
    if (!scrivi_riservato(provvisorio, testo.str())) {
        std::filesystem::remove(provvisorio, codice);
        return false;
    }
    std::filesystem::rename(provvisorio, *file_, codice);
    if (codice) {
        std::filesystem::remove(provvisorio, codice);
        return false;
    }
    return true;
}

std::optional<std::string> StatoServizio::emetti(std::string_view codice_fiscale) {
    Dati nuovi = dati_;
    const auto id = std::to_string(++nuovi.ultimo_certificato);
    nuovi.certificati[id] = Certificato{maiuscolo(codice_fiscale), {}};
    if (!salva(nuovi)) {
        return std::nullopt;
    }
    dati_ = std::move(nuovi);
    return id;
}

StatoServizio::Annullamento StatoServizio::annulla(std::string_view id_certificato,
                                                   std::string_view codice_fiscale) {
    const auto trovato = dati_.certificati.find(id_certificato);
    if (trovato == dati_.certificati.end()) {
        return {Esito::sconosciuto, {}};
    }
    // Whether someone else's certificate was cancelled is not told to whoever asks for it.
    if (trovato->second.codice_fiscale != maiuscolo(codice_fiscale)) {
        return {Esito::altro_lavoratore, {}};
    }
    if (!trovato->second.id_annullamento.empty()) {
        return {Esito::gia_annullato, {}};
    }
    Dati nuovi = dati_;
    const auto id = std::to_string(++nuovi.ultimo_annullamento);
    nuovi.certificati.find(id_certificato)->second.id_annullamento = id;
    if (!salva(nuovi)) {
        return {Esito::non_salvato, {}};
    }
    dati_ = std::move(nuovi);
    return {Esito::annullato, id};
}

} // namespace meravo::simulatore
