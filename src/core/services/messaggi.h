#pragma once

#include <string_view>

namespace meravo {

enum class Icona { nessuna, esclamazione, critico, domanda };
// si_no_no_predefinito: Yes and No with No the answer of Enter, for a question whose Yes may do
// harm when given without reading.
enum class Pulsanti { ok, si_no, si_no_no_predefinito };
enum class Risposta { ok, si, no };

// The program's default title, used where a message carries no title of its own.
inline constexpr std::string_view titolo_predefinito = "Meravo";

// A modal message box. Texts are Windows-1252; the GUI converts them at its edge and tests
// answer them from a script.
class Messaggi {
public:
    virtual ~Messaggi() = default;
    virtual Risposta mostra(std::string_view testo, std::string_view titolo, Icona icona,
                            Pulsanti pulsanti) = 0;

    void avvisa(std::string_view testo, Icona icona, std::string_view titolo = titolo_predefinito) {
        mostra(testo, titolo, icona, Pulsanti::ok);
    }
    bool chiedi(std::string_view testo, std::string_view titolo = titolo_predefinito) {
        return mostra(testo, titolo, Icona::domanda, Pulsanti::si_no) == Risposta::si;
    }
};

} // namespace meravo
