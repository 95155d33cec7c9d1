#include "richiesta_letta.h"

#include "spazi_nomi.h"
#include "testo_simulatore.h"

#include <pugixml.hpp>

#include <optional>

namespace meravo::simulatore {

namespace {

std::string_view nome_locale(const pugi::xml_node& nodo) {
    const std::string_view nome = nodo.name();
    const auto due_punti = nome.find(':');
    return due_punti == std::string_view::npos ? nome : nome.substr(due_punti + 1);
}

// The namespace an element's prefix (or its lack of one) is bound to in its scope; empty when
// the prefix is declared nowhere. pugixml keeps names as written, so the scope is walked here.
std::optional<std::string> spazio_di(const pugi::xml_node& nodo) {
    const std::string_view nome = nodo.name();
    const auto due_punti = nome.find(':');
    const std::string dichiarazione = due_punti == std::string_view::npos
                                          ? std::string("xmlns")
                                          : std::string("xmlns:").append(nome.substr(0, due_punti));
    for (auto antenato = nodo; antenato.type() == pugi::node_element;
         antenato = antenato.parent()) {
        if (const auto attributo = antenato.attribute(dichiarazione.c_str())) {
            return std::string(attributo.value());
        }
    }
    if (due_punti == std::string_view::npos) {
        return std::string();
    }
    return std::nullopt;
}

bool solo_spazi(std::string_view testo) {
    return testo.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

bool corrisponde(const pugi::xml_node& nodo, std::string_view spazio, std::string_view nome) {
    const auto trovato = spazio_di(nodo);
    return trovato && *trovato == spazio && nome_locale(nodo) == nome;
}

// Collects the defects of a request while walking it against its schema.
class Lettore {
public:
    explicit Lettore(RichiestaLetta& esito) : esito_(esito) {}

    // Element children of a node; text between them is a defect, blanks are not.
    std::vector<pugi::xml_node> elementi_figli(const pugi::xml_node& nodo,
                                               const std::string& dove) {
        std::vector<pugi::xml_node> figli;
        bool testo_segnalato = false;
        for (const auto figlio : nodo.children()) {
            if (figlio.type() == pugi::node_element) {
                controlla_prefisso(figlio);
                figli.push_back(figlio);
            } else if ((figlio.type() == pugi::node_pcdata || figlio.type() == pugi::node_cdata) &&
                       !solo_spazi(figlio.value()) && !testo_segnalato) {
                difetto("Testo inatteso in " + dove);
                testo_segnalato = true;
            }
        }
        return figli;
    }

    void controlla_prefisso(const pugi::xml_node& nodo) {
        if (!spazio_di(nodo)) {
            difetto("Prefisso non dichiarato nell'elemento " + std::string(nodo.name()));
        }
    }

    // The children of `nodo` against the schema's sequence. An element that fits a later
    // place means the required ones before it are missing; one that fits no later place is
    // out of order, in the wrong namespace or unknown.
    void confronta(const pugi::xml_node& nodo, const SchemaElemento& schema,
                   const std::string& percorso) {
        const std::string dove = percorso.empty() ? std::string(schema.nome) : percorso;
        if (schema.figli.empty()) {
            leggi_testo(nodo, percorso);
            return;
        }
        const auto figli = elementi_figli(nodo, dove);
        std::size_t atteso = 0;
        for (const auto& figlio : figli) {
            std::size_t posto = atteso;
            while (posto < schema.figli.size() &&
                   !corrisponde(figlio, schema.figli[posto].spazio, schema.figli[posto].nome)) {
                ++posto;
            }
            if (posto == schema.figli.size()) {
                segnala_fuori_posto(figlio, schema, dove);
                continue;
            }
            for (; atteso < posto; ++atteso) {
                if (!schema.figli[atteso].facoltativo) {
                    difetto("Manca l'elemento " + std::string(schema.figli[atteso].nome) +
                            " prima di " + std::string(nome_locale(figlio)) + " in " + dove);
                }
            }
            const auto& parte = schema.figli[posto];
            confronta(figlio, parte,
                      percorso.empty() ? std::string(parte.nome)
                                       : percorso + "/" + std::string(parte.nome));
            atteso = posto + 1;
        }
        for (; atteso < schema.figli.size(); ++atteso) {
            if (!schema.figli[atteso].facoltativo) {
                difetto("Manca l'elemento " + std::string(schema.figli[atteso].nome) + " in " +
                        dove);
            }
        }
    }

    void difetto(std::string testo) { esito_.difetti.push_back(std::move(testo)); }

private:
    void leggi_testo(const pugi::xml_node& nodo, const std::string& percorso) {
        std::string testo;
        for (const auto figlio : nodo.children()) {
            if (figlio.type() == pugi::node_element) {
                difetto("L'elemento " + percorso + " deve contenere solo testo");
                return;
            }
            if (figlio.type() == pugi::node_pcdata || figlio.type() == pugi::node_cdata) {
                testo += figlio.value();
            }
        }
        esito_.valori[percorso] = std::move(testo);
    }

    void segnala_fuori_posto(const pugi::xml_node& figlio, const SchemaElemento& schema,
                             const std::string& dove) {
        const auto locale = nome_locale(figlio);
        for (const auto& parte : schema.figli) {
            if (parte.nome != locale) {
                continue;
            }
            if (corrisponde(figlio, parte.spazio, parte.nome)) {
                difetto("Elemento " + std::string(locale) + " fuori posto o ripetuto in " + dove);
            } else {
                difetto("Elemento " + std::string(locale) + " nello spazio dei nomi '" +
                        spazio_di(figlio).value_or("") + "' invece di '" +
                        std::string(parte.spazio) + "' in " + dove);
            }
            return;
        }
        difetto("Elemento inatteso " + std::string(locale) + " in " + dove);
    }

    RichiestaLetta& esito_;
};

// Envelope, optional header and body, and in the body exactly the operation's element.
void leggi_busta(const pugi::xml_node& radice, const SchemaElemento& operazione,
                 RichiestaLetta& esito) {
    Lettore lettore(esito);
    lettore.controlla_prefisso(radice);
    if (nome_locale(radice) != "Envelope") {
        lettore.difetto("Il messaggio non e' una busta SOAP: elemento radice " +
                        std::string(radice.name()));
        return;
    }
    if (!corrisponde(radice, spazi_nomi::busta_soap, "Envelope")) {
        // A SOAP 1.1 node answers an envelope of another version with this code.
        esito.codice_fault = "VersionMismatch";
        lettore.difetto("Busta SOAP di uno spazio dei nomi diverso da " +
                        std::string(spazi_nomi::busta_soap));
        return;
    }
    const auto parti = lettore.elementi_figli(radice, "Envelope");
    std::size_t indice = 0;
    if (indice < parti.size() && corrisponde(parti[indice], spazi_nomi::busta_soap, "Header")) {
        ++indice;
    }
    if (indice == parti.size() || !corrisponde(parti[indice], spazi_nomi::busta_soap, "Body")) {
        lettore.difetto("Manca il corpo SOAP (Body) nella busta");
        return;
    }
    const auto corpo = parti[indice];
    if (indice + 1 != parti.size()) {
        lettore.difetto("Elemento inatteso " + std::string(parti[indice + 1].name()) +
                        " dopo il corpo SOAP");
    }
    const auto contenuto = lettore.elementi_figli(corpo, "Body");
    if (contenuto.size() != 1 ||
        !corrisponde(contenuto.front(), operazione.spazio, operazione.nome)) {
        lettore.difetto("Il corpo SOAP deve contenere solo l'elemento " +
                        std::string(operazione.nome) + " dello spazio dei nomi " +
                        std::string(operazione.spazio));
        return;
    }
    lettore.confronta(contenuto.front(), operazione, "");
}

} // namespace

std::string RichiestaLetta::valore(const std::string& percorso) const {
    const auto trovato = valori.find(percorso);
    return trovato == valori.end() ? std::string() : trovato->second;
}

RichiestaLetta leggi_richiesta(std::string_view corpo, const SchemaElemento& operazione) {
    RichiestaLetta esito;
    const std::string testo = in_utf8(corpo);
    pugi::xml_document documento;
    // pugixml expands only the predefined and numeric character references and never reads a
    // DTD, so a request cannot pull in outside content. A value made only of blanks is kept as
    // sent, so that the log shows what the module wrote.
    const auto lettura = documento.load_buffer(testo.data(), testo.size(),
                                               pugi::parse_default | pugi::parse_ws_pcdata_single,
                                               pugi::encoding_utf8);
    if (!lettura) {
        esito.difetti.push_back(std::string("XML non valido: ") + lettura.description() +
                                " (carattere " + std::to_string(lettura.offset) + ")");
        return esito;
    }
    const auto radice = documento.document_element();
    if (!radice) {
        esito.difetti.emplace_back("Messaggio vuoto");
        return esito;
    }
    leggi_busta(radice, operazione, esito);
    return esito;
}

} // namespace meravo::simulatore
