#pragma once

#include "tables/data.h"
#include "tables/descrizione_colonna.h"
#include "tables/valore.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

// The fixed-width fields of a table record line: reading them leniently (a damaged field gives
// blanks or zero, never an error) and writing them so that every field takes exactly its width.
namespace meravo::campi_record {

inline constexpr std::size_t lunghezza_prefisso = 3;

// Characters `inizio` to `inizio + lunghezza` of the line, or as many as there are.
// (Inline, as the next one: the loader calls them for every field of every record.)
inline std::string_view parte(std::string_view riga, std::size_t inizio, std::size_t lunghezza) {
    if (inizio >= riga.size()) {
        return {};
    }
    return riga.substr(inizio, lunghezza);
}

// The field without its leading and trailing blanks; `spazio` is the blank as the field holds
// it (an enciphered field can be trimmed before it is deciphered).
inline std::string_view leggi_testo(std::string_view campo, char spazio = ' ') {
    // Text fields are mostly padding: the blanks at the end are found a word at a time, the
    // last partial word by counting its blank bytes at the high end (the end of the field).
    const std::uint64_t otto_spazi = 0x0101010101010101ULL * static_cast<unsigned char>(spazio);
    std::size_t fine = campo.size();
    while (fine >= 8) {
        std::uint64_t blocco;
        std::memcpy(&blocco, campo.data() + fine - 8, 8);
        const std::uint64_t diversi = blocco ^ otto_spazi;
        if (diversi != 0) {
            const int finali = std::endian::native == std::endian::little
                                   ? std::countl_zero(diversi)
                                   : std::countr_zero(diversi);
            fine -= static_cast<std::size_t>(finali / 8);
            break;
        }
        fine -= 8;
    }
    if (fine < 8) {
        while (fine > 0 && campo[fine - 1] == spazio) {
            --fine;
        }
    }
    std::size_t inizio = 0;
    while (inizio < fine && campo[inizio] == spazio) {
        ++inizio;
    }
    return campo.substr(inizio, fine - inizio);
}

// Leading blanks, a sign, then digits (blanks among them skipped) up to the first other
// character; no digits at all reads as 0.
double numero_lenient(std::string_view testo);

std::int16_t leggi_intero16(std::string_view campo);
std::int32_t leggi_intero32(std::string_view campo);
// Sign, 13 integer digits, separator (not read: files are read alike whatever separator wrote
// them), 6 decimals.
double leggi_decimale(std::string_view campo);
Data leggi_data(std::string_view campo);
Valore leggi_campo(std::string_view campo, TipoColonna tipo);

void scrivi_intero(std::string& riga, std::int64_t valore, int cifre);
void scrivi_decimale(std::string& riga, double valore);
void scrivi_data(std::string& riga, Data data);
void scrivi_testo(std::string& riga, std::string_view testo, std::size_t larghezza);
void scrivi_prefisso(std::string& riga, std::string_view prefisso);

// Appends the field of `valore` as column `colonna` takes it; `valore` must already be of the
// column's type (see converti).
void scrivi_campo(std::string& riga, const Valore& valore, const DescrizioneColonna& colonna);

// `valore` as a value of the column's type: numbers convert among themselves (rounded half to
// even, held within the type's range), texts and dates stay what they are, nothing becomes the
// type's zero. nullopt when the kinds do not meet.
std::optional<Valore> converti(const Valore& valore, TipoColonna tipo);

} // namespace meravo::campi_record
