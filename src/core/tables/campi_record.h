#pragma once

#include "tables/data.h"
#include "tables/descrizione_colonna.h"
#include "tables/valore.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The fixed-width fields of a table record line: reading them leniently (a damaged field gives
// blanks or zero, never an error) and writing them so that every field takes exactly its width.
namespace meravo::campi_record {

inline constexpr std::size_t lunghezza_prefisso = 3;

// Characters `inizio` to `inizio + lunghezza` of the line, or as many as there are.
std::string_view parte(std::string_view riga, std::size_t inizio, std::size_t lunghezza);

// Leading blanks, a sign, then digits (blanks among them skipped) up to the first other
// character; no digits at all reads as 0.
double numero_lenient(std::string_view testo);

std::int16_t leggi_intero16(std::string_view campo);
std::int32_t leggi_intero32(std::string_view campo);
// Sign, 13 integer digits, separator (not read: files are read alike whatever separator wrote
// them), 6 decimals.
double leggi_decimale(std::string_view campo);
Data leggi_data(std::string_view campo);
std::string_view leggi_testo(std::string_view campo);
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
