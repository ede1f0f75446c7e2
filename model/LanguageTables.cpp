#include "LanguageTables.h"

#include <algorithm>

namespace canprog {

namespace {

//                 Polish, English, German, Russian, Slovak, Czech, Hungarian
const std::array<Translations, kMessageCount> kMessages = {{
    {"Anulowano", "Cancel", "Verworfen", "Отменено", "Zrušiť", "Zrušit", "Kilép"},
    {"Brak bootloadera", "Bootloader no response", "Kein Bootloader", "Загрузчик не отвечает",
     "Bootloader bez odpovede", "Bootloader bez odpovědi", "Bootloader nemválaszol"},
    {"Błąd odczytu pliku!", "Error loading file", "Fehler Datei Lesen", "Ошибка чтения файла!",
     "Chyba načítania súboru", "Chyba načítání souboru", "Olvasási Hiba"},
    {"OK", "OK", "OK", "OK", "OK", "OK", "OK"},
    {"Błąd otwarcia portu", "Error opening port", "Fehler Port Öffnen", "Ошибка открытия порта",
     "Chyba otvorenia portu", "Chyba otevření portu", "Port megnyitási hiba"},
    {"Błąd komunikacji!", "Error data transmission", "Fehler Kommunikation", "Ошибка связи!",
     "Chyba v komunikácii", "Chyba v komunikaci", "Komunikációs hiba"},
    {"Wyszukuje...", "Waiting for bootloader...", "Suchen...", "Поиск загрузчика...",
     "Vyhľadáva...", "Vyhledává...", "Keresés..."},
    {"Zapis FLASH...", "FLASH writing...", "FLASH-Speicherung...", "Запись FLASH...",
     "FLASH uložiť...", "FLASH uložit...", "FLASH mentés..."},
    {"Błąd zapisu pamięci FLASH ", "FLASH writing error", "Fehler FLASH-Speicherung",
     "Ошибка записи памяти FLASH ", "Chyba ukladania pamäti FLASH", "Chyba ukládání paměti FLASH ",
     "FLASH Írás Hiba"},
    {"Brak danych FLASH", "No code to program", "Keine FLASH-Daten", "Нет данных FLASH",
     "Chýbajúce údaje FLASH", "Chybějící údaje FLASH", "Hiánzó FLASH adatok"},
    {"Zapis EEPROM...", "EEPROM writing...", "EEPROM-Speicherung...", "Запись EEPROM...",
     "Uložiť EEPROM...", "Uložit EEPROM...", "EEPROM Mentés..."},
    {"Błąd zapisu pamięci EEPROM", "EEPROM writing error", "Fehler EEPROM-Speicherung",
     "Ошибка записи памяти EEPROM", "Chyba ukladania pamäti EEPROM", "Chyba ukládání paměti EEPROM",
     "EEPROM mentési hiba"},
    {"Brak danych EEPROM", "No data EEPROM to program", "Keine EEPROM-Daten", "Нет данных EEPROM",
     "Chýbajúce údaje EEPROM", "Chybějící údaje EEPROM", "Nincs EEPROM adat"},
    {"Gotowe", "Finished", "Fertig", "Готово", "Ukončené", "Ukončení", "Kész"},
    {"Nie wybrano pliku", "No file selected", "Keine Datei gewählt", "Файл не выбран",
     "Súbor nebol vybran", "Soubor nebyl vybrán", "Fajl nincs kiválasztva"},
    {"Wersja programu", "Program version", "Programversion", "Версия программы",
     "Programová verzia", "Programová verze", "Program verzió"},
    {"Odczyt EEPROM...", "Reading EEPROM...", "Reading EEPROM...", "Reading EEPROM...",
     "Reading EEPROM...", "Reading EEPROM...", "Reading EEPROM..."},
}};

//                 Polish, English, German, Russian, Slovak, Czech, Hungarian
const std::array<CaptionRow, kCaptionCount> kCaptions = {{
    {Ctl::bbOpen,
     {"Otwórz plik", "Open file", "Datei öffnen", "Открыть файл", "Otvoriť súbor", "Otevřít soubor",
      "Fajl"}},
    {Ctl::bbUpload, {"Zapisz", "Write", "Speichern", "Записать", "Uložiť", "Uložit", "Mentés"}},
    {Ctl::Button1, {"Anuluj", "Cancel", "Verwerfen", "Отмена", "Zrušiť", "Zrušit", "Kilép"}},
    {Ctl::Button2, {"Odczytaj", "Read", "Lesen", "Прочитать", "Načítať", "Načíst", "Olvas"}},
    {Ctl::bbHelp, {"Otwórz", "Open", "Öffnen", "Открыть", "Otvoriť", "Otevřít", "Nyitás"}},
    {Ctl::RadioGroup1, {"Język", "Language", "Sprache", "Язык", "Jazyk", "Jazyk", "Nyelv"}},
    {Ctl::GroupBox1, {"Port", "Port", "Port", "Port", "Port", "Port", "Port"}},
    {Ctl::GroupBox2,
     {"Wersja programu", "Program version", "Programversion", "Версия программы",
      "Programová verzia", "Programová verze", "Program verzió"}},
    {Ctl::GroupBox3, {"Polecenia", "Command", "Befehle", "Команды", "Voľby", "Volby", "Választ"}},
    {Ctl::TabSheet1,
     {"Programowanie", "Programming", "Programmierung", "Программирование", "Programovanie",
      "Programování", "Programozás"}},
    {Ctl::TabSheet2,
     {"Parametry pracy", "Operation parameters", "Betriebsparameter", "Рабочие параметры",
      "Pracovné parametre", "Pracovní parametry", "Műkodési paraméterek"}},
    {Ctl::GroupBox5,
     {"(1) Obsługa systemu ", "(1) System service ", "(1) Systembedienung ",
      "(1) Обслуживание системы ", "(1) Obsluha systému ", "(1) Obsluha systému ",
      "(1) Rendszer vezérlés "}},
    {Ctl::RadioButton4, {"Cicha", "Sound off", "Stumm", "Тихо", "Tichá", "Tichá", "Néma"}},
    {Ctl::RadioButton5, {"Głośna", "Sound on", "Ton", "Громко", "Hlasná", "Hlasitá", "Hangos"}},
    {Ctl::GroupBox6,
     {"(2) Samouzbrojenie ", "(2) Automatic arming ", "(2) Automatische Ladung ",
      "(2) Автопостановка ", "(2) Reaktivácia ", "(2) Reaktivace ", "(2) Ujraélesedés "}},
    {Ctl::RadioButton6, {"Brak", "Off ", "Keine", "Нет", "Nie", "Ne", "Nem"}},
    {Ctl::RadioButton7,
     {"30 sekund", "30 seconds", "30 Sekunden", "30 секунд", "30 sekúnd", "30 vteřin",
      "30 másodperc"}},
    {Ctl::GroupBox7,
     {"(3) Zamykanie zamka ", "(3) Locking ", "(3) Verriegelung ", "(3) Запирание замков ",
      "(3) Uzamknutie CZ ", "(3) Uzamknutí CZ ", "(3) Kz. Bezárás "}},
    {Ctl::RadioButton8, {"Brak", "Off", "Keine", "Нет", "Nie", "Ne", "Nem"}},
    {Ctl::RadioButton9,
     {"7sek(2500RPM)", "7 seconds", "7 Sekunden", "7сек(2500RPM)", "7sek(2500RPM)", "7sek(2500RPM)",
      "7sek(2500RPM)"}},
    {Ctl::GroupBox17,
     {" Tryb pracy ", " Operating mode ", " Betriebsmodus ", " Режим работы ", " Zadanie funkie ",
      " Zadání funkce ", " Funkcó "}},
    {Ctl::RadioButton22, {"FI", "FI", "FI", "FI", "FI", "FI", "FI"}},
    {Ctl::RadioButton23, {"FA", "FA", "FA", "FA", "FA", "FA", "FA"}},
    {Ctl::GroupBox8,
     {"(4) Funkcja FI ", "(4) FI mode ", "(4) FI-Modus ", "(4) Функция FI ", "(4) Funkcia FI ",
      "(4) Funkce FI ", "(4) FI Funkció "}},
    {Ctl::RadioButton10, {"Brak", "Off", "Aus", "Нет", "Nie", "Ne", "Nincs"}},
    {Ctl::RadioButton11, {"Jest", "On", "Ein", "Есть", "Áno", "Ano", "Igen"}},
    {Ctl::GroupBox10,
     {"(5) Opóźnienie FI", "(5) FI delay ", "(5) FI-Zeitverzug ", "(5) Задержка FI",
      "(5) Oneskorenie FI", "(5) Zpoždění FI", "(5) Késleltetés FI"}},
    {Ctl::RadioButton12,
     {"30sek(autoryzacja 1xPA)", "30sec(authorisation 1xPA)", "30 Sek(Autorisierung 1xPA)",
      "30сек(авторизация 1xPA)", "30sek(autorizácia 1xPA)", "30sec(autorizace 1xPA)",
      "30sec(autorizáció 1xPA)"}},
    {Ctl::RadioButton13,
     {"90sek(autoryzacja PIN)", "90sec(authorisation PIN)", "90 Sek(Autorisierung PIN)",
      "90сек(авторизация PIN)", "90sek(autorizácia PA)", "90sec(autorizace PA)",
      "90sec(autorizáció PA)"}},
    {Ctl::GroupBox11,
     {"(6) Kanał I ", "(6) Channel I ", "(6) Kanal I ", "(6) Канал I ", "(6) Kanál I ",
      "(6) Kanál I ", "(6) Sáv I "}},
    {Ctl::RadioButton14, {"Brak", "Off", "Nein", "Нет", "Nie", "Ne", "Nincs"}},
    {Ctl::RadioButton15,
     {"InfoGPS", "GPSinfo", "GPS-Info", "InfoGPS", "InfoGPS", "InfoGPS", "InfoGPS"}},
    {Ctl::GroupBox12,
     {"(7) Smart KEY ", "(7) Smart KEY ", "(7) Smart KEY ", "(7) Smart KEY ", "(7) Smart KEY ",
      "(7) Smart KEY ", "(7) Smart KEY "}},
    {Ctl::RadioButton16, {"Brak", "Off", "Aus", "Нет", "Nie", "Ne", "Nincs"}},
    {Ctl::RadioButton17, {"Jest", "On", "Ein", "Есть", "Áno", "Ano", "Igen"}},
    {Ctl::GroupBox14,
     {"(8) Domykanie szyb ", "(8) Closing windows ", "(8) Fenster schließen ",
      "(8) Доводчик стёкол ", "(8) Dojazd okien ", "(8) Dojezd oken ", "(8) Ablakemelés "}},
    {Ctl::RadioButton20, {"Brak", "Off", "Nein", "Нет", "Nie", "Ne", "Nincs"}},
    {Ctl::RadioButton21, {"Jest", "On", "Ja", "Есть", "Áno", "Ano", "Igen"}},
    {Ctl::GroupBox13,
     {"(9) Kanał II ", "(9) Channel II ", "(9) Kanal II ", "(9) Канал II ", "(9) Kanál II ",
      "(9) Kanál II ", "(9) Sáv II "}},
    {Ctl::RadioButton18,
     {"Klakson", "Horn", "Signalhorn", "Клаксон", "Klaksón", "Klakson", "Duda"}},
    {Ctl::RadioButton19,
     {"Przycisk BAG", "Trunk button", "BAG-Knopf", "Кнопка BAG", "Tlačítko BAG", "Tlačítko BAG",
      "BAG Gomb"}},
    {Ctl::GroupBox16,
     {"(10) Światła awaryjne ", "(10) Emergency lighting ", "(10) Notbeleuchtung ",
      "(10) Аварийная сигнализация ", "(10) Núdzové svetlá ", "(10) Nouzová světla ",
      "(10) Vészvillogók FI"}},
    {Ctl::CheckBox2,
     {"FS1 (sekwen. w alarmow.)", "FS1 (alarm sequence)", "FS1 (Alarmsequenz)",
      "FS1 (серия при тревоге)", "FS1 (sekv. pri alarme)", "FS1 (sekv. při alarmu)",
      "FS1 (riasztáskor)"}},
    {Ctl::CheckBox1,
     {"FS2 (sekwen. uzbr./rozbr.) ", "FS2 (arming/disarming)", "FS2 (Ladungs/Enlatungssequenz) ",
      "FS2 (серия охрана/снятие) ", "FS2 (sekv. aktiv./deaktiv.) ", "FS2 (sekv. aktiv./deaktiv.) ",
      "FS2 (szekv. aktiv./deaktiv.)"}},
    {Ctl::CheckBox3,
     {"FS3 (stałe w alarmowaniu)", "FS3 (const. during alarm)", "FS3 (fest bei Alarm)",
      "FS3 (постоянно при тревоге)", "FS3 (stále pri alarme)", "FS3 (stále při alarmu)",
      "FS3 (állandó riasztáskor)"}},
    {Ctl::GroupBox4,
     {" Polecenia ", " Commands ", " Befehle ", " Команды ", " Voľby ", " Volby ", " Választ "}},
    {Ctl::BitBtn2, {"Odczyt", "Reading", "Lesen", "Чтение", "Načítať", "Načíst", "Olvasás"}},
    {Ctl::BitBtn1, {"Zapis", "Saving", "Speichern", "Запись", "Uložiť", "Uložit", "Mentés"}},
    {Ctl::BitBtn4, {"Odczyt", "Reading", "Lesen", "Чтение", "Načítať", "Načíst", "Olvasás"}},
    {Ctl::BitBtn3, {"Zapis", "Saving", "Speichern", "Запись", "Uložiť", "Uložit", "Mentés"}},
    {Ctl::GroupBox9,
     {" Kod PIN ", " PIN code ", " PIN-Kode ", " PIN-код ", " PIN kód ", " PIN kód ", " PIN kód "}},
    {Ctl::GroupBox15,
     {"Nr programu CAN", "CAN program ", "CAN-Program ", "Программа CAN", "Č. programu CAN",
      "Č. programu CAN", "CAN program "}},
    {Ctl::GroupBox19,
     {"Nr programu CAN", "CAN program ", "CAN-Program ", "Программа CAN", "Č. programu CAN",
      "Č. programu CAN", "CAN program "}},
    {Ctl::GroupBox18,
     {"Lista programów CAN", "CAN program list", "CAN program list", "CAN program list",
      "CAN program list", "CAN program list", "CAN program list"}},
}};

}  // namespace

std::optional<Language> languageForCode(char code) {
    if (code < '0' || code > '6') return std::nullopt;
    return static_cast<Language>(code - '0');
}

const std::array<CaptionRow, kCaptionCount>& captionRows() {
    return kCaptions;
}

std::string_view messageText(std::size_t index, Language language) {
    return kMessages.at(index)[static_cast<std::size_t>(language)];
}

std::string_view captionText(Ctl control, Language language) {
    const auto row = std::find_if(kCaptions.begin(), kCaptions.end(),
                                  [control](const CaptionRow& r) { return r.control == control; });
    return row == kCaptions.end() ? std::string_view{}
                                  : row->text[static_cast<std::size_t>(language)];
}

const LanguageRow* languageNamed(std::string_view name) {
    for (const LanguageRow& row : kLanguages) {
        if (row.name == name) return &row;
    }
    return nullptr;
}

const LanguageRow* languageOfCode(char code) {
    for (const LanguageRow& row : kLanguages) {
        if (row.code == code) return &row;
    }
    return nullptr;
}

}  // namespace canprog
