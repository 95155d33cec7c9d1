// libFuzzer target: dates typed into the date box. Whatever text is accepted as a date names a
// real day of the calendar, written gg/mm/aaaa, which reads back as itself, and reads the same
// with any of the three separators or typed as eight digits. Then the box itself, driven by keys,
// focus changes, clicks and pastes: its selection never leaves the text, and a date box that
// loses the focus holds nothing, a written-out date, or has told the doctor what is wrong.
#include "textbox/data_digitata.h"
#include "textbox/txtctl.h"

#include "servizi_fuzz.h"

#include <chrono>
#include <regex>
#include <utility>

namespace meravo::fuzz {
namespace {

void data_scritta(std::string_view testo) {
    const auto data = data_riconosciuta(testo);
    if (!data) {
        return;
    }
    const std::string& d = *data;
    static const std::regex scritta(R"(\d\d/\d\d/\d{4})");
    esigi(std::regex_match(d, scritta));
    const auto n = [&d](std::size_t da, std::size_t quanti) {
        return std::stoi(d.substr(da, quanti));
    };
    using namespace std::chrono;
    const year_month_day giorno{year{n(6, 4)}, month{static_cast<unsigned>(n(3, 2))},
                                day{static_cast<unsigned>(n(0, 2))}};
    esigi(giorno.ok() && giorno.year() >= year{1000} && data_riconosciuta(d) == d);
    for (const char separatore : {'-', '.'}) {
        auto altra = d;
        std::replace(altra.begin(), altra.end(), '/', separatore);
        esigi(data_riconosciuta(altra) == d);
    }

    // Eight digits typed into a date box become the same date.
    MessaggiContati messaggi;
    Txtctl box(messaggi, ',');
    box.Tipodati(1);
    box.prende_fuoco();
    for (char c : d.substr(0, 2) + d.substr(3, 2) + d.substr(6, 4)) {
        box.digita(static_cast<unsigned char>(c));
    }
    esigi(box.Text() == d && messaggi.mostrati == 0);
}

bool selezione_nel_testo(const Txtctl& box) {
    const int lunghezza = static_cast<int>(box.Text().size());
    return box.SelStart() >= 0 && box.SelLength() >= 0 &&
           box.SelStart() + box.SelLength() <= lunghezza && box.cursore() >= 0 &&
           box.cursore() <= lunghezza;
}

void digita_nel_box(Byte& byte) {
    MessaggiContati messaggi;
    Txtctl box(messaggi, byte.uno() % 2 ? ',' : '.');
    box.Tipodati(byte.uno() % 4);
    bool fuoco_da_rendere = false;
    box.riprendi_fuoco = [&] { fuoco_da_rendere = true; };
    constexpr int tasti[] = {Txtctl::vbKeyEnd,   Txtctl::vbKeyHome,   Txtctl::vbKeyLeft,
                             Txtctl::vbKeyRight, Txtctl::vbKeyDelete, 65};
    const auto piccolo = [&byte] { return static_cast<std::int8_t>(byte.uno()); };
    while (!byte.finiti()) {
        const int mostrati_prima = messaggi.mostrati;
        bool uscita = false;
        const int scelta = byte.uno() % 12;
        if (scelta < 3) {
            box.digita(byte.uno());
        } else if (scelta == 3) {
            box.premi_tasto(tasti[byte.uno() % std::size(tasti)], byte.uno() % 2);
        } else if (scelta == 4) {
            box.prende_fuoco();
        } else if (scelta == 5 && box.ha_fuoco()) {
            uscita = true;
            box.perde_fuoco();
        } else if (scelta == 6) {
            box.seleziona(piccolo(), piccolo());
        } else if (scelta == 7) {
            box.incolla(byte.testo(12));
        } else if (scelta == 8) {
            box.Text(byte.testo(12));
        } else if (scelta == 9) {
            box.SelStart(piccolo());
            box.SelLength(piccolo());
        } else if (scelta == 10) {
            box.SelText(byte.testo(4));
        } else if (scelta == 11) {
            box.Locked(!box.Locked());
            box.MaxLength(byte.uno() % 12);
        }
        esigi(selezione_nel_testo(box));
        if (uscita && box.Tipodati() == 1) {
            const auto& testo = box.Text();
            esigi(testo.empty() || data_riconosciuta(testo) == testo ||
                  messaggi.mostrati > mostrati_prima);
            data_scritta(testo);
        }
        // The widget gives the focus back after the event, as the platform would.
        if (std::exchange(fuoco_da_rendere, false)) {
            box.prende_fuoco();
            esigi(selezione_nel_testo(box));
        }
    }
}

} // namespace

MERAVO_FUZZ(testo) {
    Byte byte(testo);
    data_scritta(byte.testo(16));
    digita_nel_box(byte);
}

} // namespace meravo::fuzz
