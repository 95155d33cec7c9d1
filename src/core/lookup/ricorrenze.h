#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace meravo {

// Filters a list by one or two terms with the four matching rules of the look-up. Lists are
// numbered from 1, index 0 holding nothing; the result has the same form, and a result with
// nothing at index 1 or beyond (only the empty index 0) means that nothing matched. Every call
// is independent: the case rule is the only state.
class ricorrenze {
public:
    // What the container keeps for the control.
    struct Proprieta {
        bool InputMinMaiuscIndifferente = true;
    };

    ricorrenze() = default;
    explicit ricorrenze(Proprieta proprieta) : proprieta_(proprieta) {}

    // Entries that begin with `testo`.
    std::vector<std::string> sinistra(std::string_view testo,
                                      const std::vector<std::string>& lista) const;
    // Entries that contain `testo`.
    std::vector<std::string> ovunque(std::string_view testo,
                                     const std::vector<std::string>& lista) const;
    // Entries that begin with `testo1` and contain `testo2` after that beginning.
    std::vector<std::string> sinistraEovunque(std::string_view testo1, std::string_view testo2,
                                              const std::vector<std::string>& lista) const;
    // Entries that contain `testo1` and, after the end of its first occurrence, `testo2`.
    std::vector<std::string> ovunqueEovunque(std::string_view testo1, std::string_view testo2,
                                             const std::vector<std::string>& lista) const;

    // Self-test list: index 0 empty, index i (1..20) holding the number i.
    static std::vector<std::optional<int>> prova();

    bool InputMinMaiuscIndifferente() const { return proprieta_.InputMinMaiuscIndifferente; }
    void InputMinMaiuscIndifferente(bool valore);

    const Proprieta& proprieta() const { return proprieta_; }
    bool proprieta_modificate() const { return proprieta_modificate_; }

private:
    Proprieta proprieta_;
    bool proprieta_modificate_ = false;
};

} // namespace meravo
