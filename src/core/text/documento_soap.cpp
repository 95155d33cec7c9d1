#include "text/documento_soap.h"

#include "text/testo.h"

#include <algorithm>
#include <pugixml.hpp>

namespace meravo {

namespace {

// The node after `n` in document order, up to the end of `radice`'s descendants, going into `n`
// only when `entra`. The walks go this way rather than by recursion, so that an answer nested
// deeper than the stack could follow is read like any other instead of ending the program.
pugi::xml_node seguente(pugi::xml_node n, const pugi::xml_node& radice, bool entra) {
    if (entra && n.first_child()) {
        return n.first_child();
    }
    for (; n && n != radice; n = n.parent()) {
        if (const auto fratello = n.next_sibling()) {
            return fratello;
        }
    }
    return {};
}

bool elemento(const pugi::xml_node& n) {
    return n.type() == pugi::node_element;
}

// All the text an element holds, its descendants' included, as the platform's DOM gives it.
std::string testo_di(const pugi::xml_node& nodo) {
    std::string testo;
    for (auto n = nodo.first_child(); n; n = seguente(n, nodo, elemento(n))) {
        if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata) {
            testo += n.value();
        }
    }
    return testo::utf8_a_cp1252(testo);
}

// Every element of that name below `radice`, in document order, until `usa` says to stop.
template <typename Funzione>
void per_ogni_elemento(const pugi::xml_node& radice, std::string_view nome, Funzione&& usa) {
    for (auto n = radice.first_child(); n; n = seguente(n, radice, elemento(n))) {
        if (elemento(n) && nome == n.name() && !usa(n)) {
            return;
        }
    }
}

// The name without its namespace prefix.
std::string_view nome_locale(const pugi::xml_node& n) {
    const std::string_view nome = n.name();
    const auto due_punti = nome.find(':');
    return due_punti == std::string_view::npos ? nome : nome.substr(due_punti + 1);
}

// The first element below `radice`, in document order, that `cercato` accepts.
template <typename Condizione>
pugi::xml_node primo_elemento(const pugi::xml_node& radice, Condizione&& cercato) {
    for (auto n = radice.first_child(); n; n = seguente(n, radice, elemento(n))) {
        if (elemento(n) && cercato(n)) {
            return n;
        }
    }
    return {};
}

} // namespace

struct DocumentoSoap::Dati {
    pugi::xml_document documento;
};

DocumentoSoap::DocumentoSoap(std::unique_ptr<Dati> dati) : dati_(std::move(dati)) {}
DocumentoSoap::~DocumentoSoap() = default;
DocumentoSoap::DocumentoSoap(DocumentoSoap&&) noexcept = default;
DocumentoSoap& DocumentoSoap::operator=(DocumentoSoap&&) noexcept = default;

std::optional<DocumentoSoap> DocumentoSoap::carica(std::string_view xml) {
    auto dati = std::make_unique<Dati>();
    // No DTD is read and no external entity is ever fetched: pugixml does neither.
    const auto esito = dati->documento.load_buffer(xml.data(), xml.size(), pugi::parse_default,
                                                   pugi::encoding_auto);
    if (!esito || !dati->documento.document_element()) {
        return std::nullopt;
    }
    return DocumentoSoap(std::move(dati));
}

std::optional<std::string> DocumentoSoap::testo_primo(std::string_view nome) const {
    std::optional<std::string> trovato;
    per_ogni_elemento(dati_->documento, nome, [&](const pugi::xml_node& n) {
        trovato = testo_di(n);
        return false;
    });
    return trovato;
}

std::vector<std::string> DocumentoSoap::testi_figli(std::string_view nome,
                                                    std::string_view figlio) const {
    std::vector<std::string> testi;
    per_ogni_elemento(dati_->documento, nome, [&](const pugi::xml_node& n) {
        for (auto c = n.first_child(); c; c = c.next_sibling()) {
            if (c.type() == pugi::node_element && figlio == c.name()) {
                testi.push_back(testo_di(c));
                break;
            }
        }
        return true;
    });
    return testi;
}

std::vector<std::vector<std::string>>
DocumentoSoap::testi_dei_figli(std::string_view nome,
                               const std::vector<std::string_view>& figli) const {
    std::vector<std::vector<std::string>> elementi;
    per_ogni_elemento(dati_->documento, nome, [&](const pugi::xml_node& n) {
        std::vector<std::string> testi;
        for (const auto figlio : figli) {
            std::string testo;
            for (auto c = n.first_child(); c; c = c.next_sibling()) {
                if (c.type() == pugi::node_element && figlio == c.name()) {
                    testo = testo_di(c);
                    break;
                }
            }
            testi.push_back(std::move(testo));
        }
        elementi.push_back(std::move(testi));
        return true;
    });
    return elementi;
}

std::optional<std::string> DocumentoSoap::testo_dentro(std::string_view nome,
                                                       std::string_view figlio) const {
    const auto contenitore = primo_elemento(dati_->documento, [&](const pugi::xml_node& n) {
        return testo::minuscolo(nome_locale(n)) == testo::minuscolo(nome);
    });
    const auto trovato = primo_elemento(
        contenitore, [&](const pugi::xml_node& n) { return nome_locale(n) == figlio; });
    return trovato ? std::optional(testo_di(trovato)) : std::nullopt;
}

BustaSoap trova_busta(std::string_view risposta, std::string_view apertura,
                      std::string_view chiusura) {
    BustaSoap busta;
    const auto inizio = risposta.find(apertura);
    if (inizio == std::string_view::npos) {
        return busta;
    }
    busta.trovata = true;
    const auto fine = risposta.find(chiusura);
    if (fine != std::string_view::npos && fine + chiusura.size() > inizio) {
        busta.testo = std::string(risposta.substr(inizio, fine + chiusura.size() - inizio));
    }
    return busta;
}

} // namespace meravo
