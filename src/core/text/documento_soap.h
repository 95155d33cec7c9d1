#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace meravo {

// The SOAP envelope found in what curl wrote, from its opening marker through its closing one.
struct BustaSoap {
    bool trovata = false;
    // Nothing when the closing marker is missing: an answer that cannot be interpreted.
    std::optional<std::string> testo;
};

// The first envelope that starts with `apertura` and ends with `chiusura` (compared exactly).
BustaSoap trova_busta(std::string_view risposta, std::string_view apertura,
                      std::string_view chiusura);

// A parsed envelope, read as the answers need it: elements by their qualified name in document
// order, and the text they hold. Texts come back in Windows-1252.
class DocumentoSoap {
public:
    // Nothing when the text is not well-formed XML.
    static std::optional<DocumentoSoap> carica(std::string_view xml);
    ~DocumentoSoap();
    DocumentoSoap(DocumentoSoap&&) noexcept;
    DocumentoSoap& operator=(DocumentoSoap&&) noexcept;

    // Text of the first element of that name anywhere, if there is one.
    std::optional<std::string> testo_primo(std::string_view nome) const;
    // For every element of that name, in document order, the text of its first child element
    // named `figlio` (elements without one are left out).
    std::vector<std::string> testi_figli(std::string_view nome, std::string_view figlio) const;
    // For every element of that name, in document order, the text of its first child element
    // with each of the names in `figli`; a child that is missing gives the empty text.
    std::vector<std::vector<std::string>>
    testi_dei_figli(std::string_view nome, const std::vector<std::string_view>& figli) const;
    // Text of the first element whose local name is `figlio` inside the first element whose
    // local name is `nome` in any letter case, whatever their namespace prefixes; nothing when
    // either is missing.
    std::optional<std::string> testo_dentro(std::string_view nome, std::string_view figlio) const;

private:
    struct Dati;
    explicit DocumentoSoap(std::unique_ptr<Dati> dati);
    std::unique_ptr<Dati> dati_;
};

} // namespace meravo
