#include "CliSession.h"

#include <array>
#include <ostream>
#include <utility>

namespace canprog::cli {

std::optional<char> languageCodeFor(const std::string& name) {
    static constexpr std::array<std::pair<std::string_view, char>, 7> kCodes = {{{"pl", '0'},
                                                                                 {"en", '1'},
                                                                                 {"de", '2'},
                                                                                 {"ru", '3'},
                                                                                 {"sk", '4'},
                                                                                 {"cz", '5'},
                                                                                 {"hu", '6'}}};
    for (const auto& [key, code] : kCodes) {
        if (name == key) return code;
    }
    return std::nullopt;
}

CliSession::CliSession(char languageCode, std::ostream& out) : form_(*this), out_(out) {
    startUp(form_);
    form_.languageCode = languageCode;
    form_.zmiana_jezyka(languageCode);
    form_.addListener(this);
}

CliSession::~CliSession() {
    form_.removeListener(this);
}

void CliSession::controlChanged(Ctl id, Change what) {
    if (id == Ctl::meLog && what == Change::LineAdded)
        out_ << form_.logLines().back() << '\n' << std::flush;
}

}  // namespace canprog::cli
