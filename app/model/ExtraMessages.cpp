#include "ExtraMessages.h"

#include <array>

namespace canprog {

namespace {

//   Polish, English, German, Russian, Slovak, Czech, Hungarian
const std::array<Translations, 1> kExtraTexts = {{
    {"Utracono połączenie z modułem ({device}): sprawdź kabel i zasilanie modułu",
     "Lost the connection to the module ({device}): check the cable and the module's power",
     "Verbindung zum Modul verloren ({device}): Kabel und Stromversorgung des Moduls prüfen",
     "Связь с модулем потеряна ({device}): проверьте кабель и питание модуля",
     "Spojenie s modulom sa prerušilo ({device}): skontrolujte kábel a napájanie modulu",
     "Spojení s modulem bylo přerušeno ({device}): zkontrolujte kabel a napájení modulu",
     "Megszakadt a kapcsolat a modullal ({device}): ellenőrizze a kábelt és a modul tápellátását"},
}};

}  // namespace

std::string_view extraText(Extra line, Language language) {
    return kExtraTexts[static_cast<std::size_t>(line)][static_cast<std::size_t>(language)];
}

std::string fillIn(std::string_view text,
                   const std::vector<std::pair<std::string_view, std::string>>& values) {
    std::string out(text);
    for (const auto& [name, value] : values) {
        const std::string mark = "{" + std::string(name) + "}";
        for (auto at = out.find(mark); at != std::string::npos; at = out.find(mark, at)) {
            out.replace(at, mark.size(), value);
            at += value.size();
        }
    }
    return out;
}

}  // namespace canprog
