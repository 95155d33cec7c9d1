#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace meravo {

class Messaggi;

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

private:
    struct Dati;
    explicit DocumentoSoap(std::unique_ptr<Dati> dati);
    std::unique_ptr<Dati> dati_;
};

// The status of the last HTTP answer in curl's trace ("< HTTP/1.1 401 Unauthorized"), past
// any interim 1xx answer; nothing when no answer came (the connection itself failed).
std::optional<int> stato_http(std::string_view uscite);

// Tells the doctor why an exchange gave no envelope the module could read: the service refused
// the user name or password, or is out of service, or no connection could be made at all.
void avvisa_connessione_fallita(std::string_view uscite, Messaggi& messaggi);

// The rules for the answer to a certificate sent: true on a receipt (then `protocollo` holds
// its identifier); otherwise the reason has been shown and `protocollo` may hold the errors.
bool interpreta_risposta_invio(std::string_view risposta, Messaggi& messaggi,
                               std::string& protocollo);

} // namespace meravo
