#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace meravo {

// Colours as the form stores them: 32 bits, red in the low byte; a high byte of 0x80 names a
// system colour by the index in the low byte.
namespace colori {
inline constexpr std::uint32_t grigio_cornici = 0x00E0E0E0;
inline constexpr std::uint32_t titoli_gruppi = 0x00400000;
inline constexpr std::uint32_t rosa_obbligatori = 0x00C0C0FF;
inline constexpr std::uint32_t sfondo_finestra = 0x80000005;
} // namespace colori

// One plain text box of the form.
struct Campo {
    std::string Text;
    bool Enabled = true;
    bool Visible = true;
    std::uint32_t BackColor = colori::sfondo_finestra;
    int MaxLength = 0; // 0: no limit

    // Whether typing may turn the text into `nuovo`. The limit binds what is typed only: a longer
    // value the program put in the box is shown whole, since it is what will be sent, and may
    // still be shortened.
    bool accetta_digitato(std::string_view nuovo) const {
        return MaxLength <= 0 || nuovo.size() <= static_cast<std::size_t>(MaxLength) ||
               nuovo.size() <= Text.size();
    }
};

struct Pulsante {
    bool Enabled = true;
    bool Visible = true;
};

enum class TipoControllo { testo, password, data, nota, ricerca };

// How the form lays out and names its controls: group, control name, label caption ("&" before
// the letter of its Alt key), kind, whether the mandatory rule paints it pink, and its length
// limit; then, for the screen, the longest value a practice puts there (in characters), which
// its box shows whole, and whether the control begins a new row of its group. The order is the
// tab order and the reading order.
struct DescrizioneControllo {
    std::string_view gruppo;
    std::string_view nome;
    std::string_view etichetta;
    TipoControllo tipo;
    bool obbligatorio;
    int lunghezza_massima;
    int caratteri = 0;
    bool a_capo = false;
};

struct DescrizioneGruppo {
    std::string_view nome;
    std::string_view titolo;
};

const std::vector<DescrizioneGruppo>& gruppi_form();
const std::vector<DescrizioneControllo>& controlli_form();

// A caption as the doctor reads it: without the "&" that marks its Alt key ("&&" is one "&").
std::string senza_mnemonico(std::string_view etichetta);

} // namespace meravo
