#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace meravo {

// The lines of a file read whole: each line without its end, which may be CR LF or a bare LF.
// A last line without an end is a line too; nothing after the last line end is not.
class LettoreRighe {
public:
    explicit LettoreRighe(std::string_view contenuto) : contenuto_(contenuto) {}

    std::optional<std::string_view> prossima() {
        if (posizione_ >= contenuto_.size()) {
            return std::nullopt;
        }
        const auto a_capo = contenuto_.find('\n', posizione_);
        const auto fine = a_capo == std::string_view::npos ? contenuto_.size() : a_capo;
        auto riga = contenuto_.substr(posizione_, fine - posizione_);
        if (a_capo != std::string_view::npos && !riga.empty() && riga.back() == '\r') {
            riga.remove_suffix(1);
        }
        posizione_ = a_capo == std::string_view::npos ? contenuto_.size() : a_capo + 1;
        return riga;
    }

    // Characters consumed so far, line ends included.
    std::size_t posizione() const { return posizione_; }

    // 2 when the file's first line ends with CR LF, 1 when with a bare LF.
    std::size_t fine_riga() const {
        const auto a_capo = contenuto_.find('\n');
        return a_capo != std::string_view::npos && (a_capo == 0 || contenuto_[a_capo - 1] != '\r')
                   ? 1
                   : 2;
    }

private:
    std::string_view contenuto_;
    std::size_t posizione_ = 0;
};

} // namespace meravo
