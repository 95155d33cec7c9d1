#pragma once

#include <cstdint>
#include <string>

namespace meravo {

// The look-up's design-time properties as its container keeps them, each with the value it
// takes when the container has none saved. Field names are the keys they are saved under.
// Colours are 32 bits, red in the low byte; a value whose high byte is 0x80 names a system
// colour by the index in its low byte.
struct ProprietaTrova {
    // A font; an empty name stands for the platform's default font.
    struct Carattere {
        std::string nome;
        double punti = 0;
        bool grassetto = false;
        bool corsivo = false;
        bool operator==(const Carattere&) const = default;
    };

    static constexpr std::uint32_t testo_pulsante = 0x80000012;
    static constexpr std::uint32_t testo_finestra = 0x80000008;
    static constexpr std::uint32_t sfondo_finestra = 0x80000005;
    static constexpr std::uint32_t testo_barra_titolo = 0x80000009;
    static constexpr std::uint32_t verde = 0x0000FF00;
    static constexpr std::uint32_t giallo = 0x0000FFFF;
    static constexpr std::uint32_t azzurro = 0x00FFFF00;

    Carattere Font;      // the box and the labels
    Carattere FontLista; // the drop-down list
    // The pair of the labels that show the free parts of the candidate (`primo_libero` and
    // `libero`).
    std::uint32_t ForeColorLiberi = testo_pulsante;
    std::uint32_t BackColorLiberi = giallo;
    std::uint32_t BackcColorFisso = verde; // the key is spelled so in saved containers
    std::uint32_t ForeColorFisso = testo_pulsante;
    std::uint32_t ForeColorTesto = testo_finestra;
    std::uint32_t BackColorTesto = sfondo_finestra;
    std::uint32_t BackColorLegenda = azzurro; // the mode indicator before the first display
    std::uint32_t ForeColorLegenda = testo_pulsante;
    // The indicator takes the `Uno` pair when exactly one entry matches, else the `Molti` pair.
    std::uint32_t BackColorUno = giallo;
    std::uint32_t ForeColorUno = testo_pulsante;
    std::uint32_t BackColorMolti = giallo;
    std::uint32_t ForeColorMolti = testo_pulsante;
    std::uint32_t BackColorLista = sfondo_finestra;
    std::uint32_t ForeColorLista = testo_finestra;
    std::uint32_t BackColor = testo_barra_titolo;
    bool Enabled = true;
    std::string Text;
    bool InputMinMaiuscIndifferente = false;
    bool gestione_enter_esterna = false;
    std::string lista_testo = "0";

    bool operator==(const ProprietaTrova&) const = default;
};

} // namespace meravo
