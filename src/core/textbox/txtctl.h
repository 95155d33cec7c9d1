#pragma once

#include "textbox/proprieta_txtctl.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace meravo {

class Messaggi;

// A single-line text box that takes free text (Tipodati 0), a date typed as eight digits
// ggmmaaaa and shown as gg/mm/aaaa (1), or a number with the locale's decimal separator (2);
// any other Tipodati only passes the key events on.
//
// The widget hands every key, focus change and click to the model as the platform delivers it
// and then mirrors Text, SelStart and SelLength. The model does the editing itself (typing,
// Backspace, Delete, arrows, Home, End), so the keyboard behaviour is the same with or without
// a window. Texts are Windows-1252 bytes; character codes are bytes 0 to 255.
class Txtctl {
public:
    // Key codes and Shift bits of key-down and key-up.
    static constexpr int vbKeyEnd = 35;
    static constexpr int vbKeyHome = 36;
    static constexpr int vbKeyLeft = 37;
    static constexpr int vbKeyRight = 39;
    static constexpr int vbKeyDelete = 46;
    static constexpr int vbShiftMask = 1;

    // Character codes of key-press that are not printable.
    static constexpr int vbKeyBack = 8;
    static constexpr int vbKeyTab = 9;
    static constexpr int vbKeyReturn = 13;
    static constexpr int vbKeyEscape = 27;

    // `separatore_decimale` is the locale's: "," or ".".
    Txtctl(Messaggi& messaggi, char separatore_decimale);

    // Properties. Setting Text replaces the whole text (the caret goes to its end) and runs the
    // change rules; it is not bound by MaxLength, as typing is.
    const std::string& Text() const { return testo_; }
    void Text(std::string_view valore);
    int Tipodati() const { return Tipodati_; }
    void Tipodati(int valore);
    int MaxLength() const { return MaxLength_; }
    void MaxLength(int valore) { MaxLength_ = valore < 0 ? 0 : valore; }
    std::string SelText() const;
    void SelText(std::string_view valore);
    int SelStart() const;
    void SelStart(int valore);
    int SelLength() const;
    void SelLength(int valore);
    // Position of the caret: the end of the selection that moves with Shift and the arrows.
    int cursore() const { return cursore_; }
    std::uint32_t BackColor() const { return proprieta_.BackColor; }
    void BackColor(std::uint32_t valore) { proprieta_.BackColor = valore; }
    int BorderStyle() const { return proprieta_.BorderStyle; }
    void BorderStyle(int valore) { proprieta_.BorderStyle = valore; }
    int Appearance() const { return proprieta_.Appearance; }
    void Appearance(int valore) { proprieta_.Appearance = valore; }
    int Alignment() const { return proprieta_.Alignment; }
    void Alignment(int valore) { proprieta_.Alignment = valore; }
    bool Enabled() const { return proprieta_.Enabled; }
    void Enabled(bool valore) { proprieta_.Enabled = valore; }
    // A locked box raises its events and runs its checks, but keeps its text against the user.
    bool Locked() const { return proprieta_.Locked; }
    void Locked(bool valore) { proprieta_.Locked = valore; }
    const std::string& Font() const { return proprieta_.Font; }
    void Font(std::string valore) { proprieta_.Font = std::move(valore); }

    // Input.
    void prende_fuoco();
    void perde_fuoco();
    bool ha_fuoco() const { return ha_fuoco_; }
    // The last date check refused the text, and it has not changed since: whatever took the
    // focus away must not act on a date the doctor has just been asked to correct.
    bool respinta() const { return respinta_; }
    // Key-press: returns the character as finally taken, 0 when it was refused. For Ctrl+C,
    // Ctrl+V and Ctrl+X (3, 22, 24) a non-zero answer lets the widget copy SelText, paste with
    // `incolla`, or copy and then `incolla("")`.
    int digita(int KeyAscii);
    // Key-down: returns the key code as finally taken, 0 when it was cancelled.
    int premi_tasto(int KeyCode, int Shift);
    void rilascia_tasto(int KeyCode, int Shift);
    void clic();
    void doppio_clic();
    // A selection made with the mouse: from `ancora` to the caret at `cursore`.
    void seleziona(int ancora, int cursore);
    // Pasting over the selection: bound by MaxLength; a date or number box takes only what it
    // would take when typed.
    void incolla(std::string_view testo);

    // Events, in the order the container knows them.
    std::function<void()> DblClick;
    std::function<void()> Click;
    std::function<void()> Change;
    std::function<void(int KeyCode, int Shift)> KeyUp;
    std::function<void(int& KeyAscii)> KeyPress;
    std::function<void(int& KeyCode, int& Shift)> KeyDown;
    std::function<void()> Conferma;

    // Not an event for the container: a date that cannot stand was left, so the widget must put
    // the focus back into the box (and then report it with `prende_fuoco`, as any focus gain).
    std::function<void()> riprendi_fuoco;

private:
    int controlla_testo_libero(int KeyAscii);
    int controlla_data(int KeyAscii);
    int controlla_numero(int KeyAscii);
    void verifica_data();
    void data_da_correggere(std::string_view messaggio);
    void adatta_MaxLength_data();
    void rimetti_testo_ricordato();
    bool carattere_numerico(char c) const;

    void applica_carattere(int KeyAscii);
    void applica_tasto(int KeyCode, int Shift);
    // Puts `nuovo` in place of the selection; `con_limite` keeps the text within MaxLength.
    void sostituisci_selezione(std::string_view nuovo, bool con_limite);
    void cambia_testo(std::string_view nuovo, int cursore);
    void testo_cambiato();

    Messaggi& messaggi_;
    char separatore_decimale_;
    ProprietaTxtctl proprieta_; // the properties the model only keeps for the widget
    int Tipodati_ = 0;
    int MaxLength_ = 10;
    std::string testo_;
    int ancora_ = 0;
    int cursore_ = 0;
    // None ('\0') until the box first gets the focus; until then texts set by the container
    // are taken as they are.
    char separatore_data_ = '\0';
    std::string testo_ricordato_; // the text when the box got the focus, put back by Escape
    bool ha_fuoco_ = false;
    bool respinta_ = false;
};

} // namespace meravo
