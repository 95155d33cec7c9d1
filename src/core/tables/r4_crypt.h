#pragma once

#include "tables/generatore_r4.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace meravo {

class Orologio;

// The line cipher of the enciphered table files: 30 key lines at the head of a file carry its
// key, and every data line is enciphered on its own with one of L substitution tables over the
// codes 32 to 127, chosen by the line's number. One object serves one file being read or written.
//
// Reading: posizione_chiavi, carica_chiavi for key lines 1..30, then str_decrypt line by line.
// Writing: posizione_chiavi, scrivi_chiavi for key lines 1..30, then str_encrypt line by line.
class r4_crypt {
public:
    // The key phrase of every file the program writes.
    static constexpr std::string_view frase_chiave = "SUN MARK -P8";
    static constexpr int righe_chiave = 30;
    static constexpr int lunghezza_riga_chiave = 1000;

    // Keys itself with the program's phrase, so that an object is never without tables.
    explicit r4_crypt(Orologio& orologio);

    // Derives the key positions from the phrase and draws fresh key values from the time of day.
    // A phrase that is empty or longer than the 30 key lines could carry is refused (false) and
    // the object keeps its keys.
    bool posizione_chiavi(std::string_view frase);

    // Takes key value j from key line j of a file being read; after line L builds the tables.
    // Lines past L carry no key. False when the line is too short to hold its key: the file's
    // header is damaged and nothing after it can be deciphered.
    bool carica_chiavi(std::string_view stringacritt, int j_line);

    // Key line j for a file being written: 1000 drawn characters, key value j at its position.
    std::string scrivi_chiavi(int j_line);

    // Cleans the caller's line (control characters and code 255 become spaces, code 8 stays) and
    // returns it enciphered with the table of data line `contarighe`.
    std::string str_encrypt(std::string& stringa, long contarighe) const;
    std::string str_decrypt(std::string_view stringa, long contarighe) const;
    // The same as str_decrypt, in place: the loader deciphers every line of a table where it
    // lies in the file's buffer.
    void decritta(char* riga, std::size_t lunghezza, long contarighe) const;
    // For a reader that deciphers only the characters it keeps: the byte-to-byte table of data
    // line `contarighe`, and the enciphered form of the blank on that line.
    const std::array<unsigned char, 256>& mappa_decifra(long contarighe) const {
        return decifra_[tabella_di(contarighe)];
    }
    unsigned char spazio_cifrato(long contarighe) const {
        return cifra_[tabella_di(contarighe)][' '];
    }

    static long seme(std::string_view frase);
    // Key positions 1..L (element 0 unused).
    const std::vector<int>& posizioni() const { return pos_; }

private:
    using Mappa = std::array<unsigned char, 256>;

    void crea_tabelle();
    // ((n − 1) mod L) + 1, with a floored modulo so that no line number can leave the tables.
    // The remainder is taken before the 1 is subtracted, which the lowest number cannot bear.
    std::size_t tabella_di(long contarighe) const {
        long resto = contarighe % lunghezza_ - 1;
        if (resto < 0) {
            resto += lunghezza_;
        }
        return static_cast<std::size_t>(resto + 1);
    }
    void reseed_da_orologio();

    Orologio& orologio_;
    GeneratoreR4 generatore_;
    int lunghezza_ = 0;
    std::vector<int> pos_;
    std::vector<int> chiave_;
    // Per table, byte to byte: cleaning and substitution in one look-up, and its inverse.
    std::vector<Mappa> cifra_;
    std::vector<Mappa> decifra_;
};

} // namespace meravo
