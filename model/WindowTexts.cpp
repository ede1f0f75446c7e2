#include "WindowTexts.h"

#include <array>

namespace canprog {

namespace {

//   Polish, English, German, Russian, Slovak, Czech, Hungarian
const std::array<Translations, kWindowTextCount> kTexts = {{
    // KeepSettings
    {"Zachowaj ustawienia modułu", "Keep the module's settings",
     "Einstellungen des Moduls behalten", "Не изменять настройки модуля",
     "Zachovať nastavenia modulu", "Zachovat nastavení modulu", "A modul beállításai maradnak"},
    // SaveSettings
    {"Do pliku...", "To file...", "In Datei...", "В файл...", "Do súboru...", "Do souboru...",
     "Fájlba..."},
    // OpenSettings
    {"Z pliku...", "From file...", "Aus Datei...", "Из файла...", "Zo súboru...", "Ze souboru...",
     "Fájlból..."},
    // LogName
    {"Dziennik", "Log", "Protokoll", "Журнал", "Záznam", "Záznam", "Napló"},
    // FileName
    {"Plik firmware", "Firmware file", "Firmware-Datei", "Файл прошивки", "Súbor firmvéru",
     "Soubor firmwaru", "Firmware fájl"},
    // ProgressName
    {"Postęp", "Progress", "Fortschritt", "Ход выполнения", "Priebeh", "Průběh", "Folyamat"},
    // StatusName
    {"Stan", "Status", "Status", "Состояние", "Stav", "Stav", "Állapot"},
    // NextProgram
    {"Następny program CAN", "Next CAN program", "Nächstes CAN-Programm", "Следующая программа CAN",
     "Ďalší program CAN", "Další program CAN", "Következő CAN-program"},
    // PreviousProgram
    {"Poprzedni program CAN", "Previous CAN program", "Vorheriges CAN-Programm",
     "Предыдущая программа CAN", "Predchádzajúci program CAN", "Předchozí program CAN",
     "Előző CAN-program"},
    // StopFirmwareWrite
    {"Trwa zapis. Przerwać go? Moduł zostanie zapisany tylko częściowo; ponowny zapis pliku "
     "naprawi go.",
     "A write is in progress. Stop it? The module will be left partly written; writing the file "
     "again repairs it.",
     "Ein Schreibvorgang läuft. Abbrechen? Das Modul bleibt teilweise beschrieben; erneutes "
     "Schreiben der Datei repariert es.",
     "Идёт запись. Прервать её? Модуль останется записанным частично; повторная запись файла "
     "восстановит его.",
     "Prebieha zápis. Prerušiť ho? Modul zostane zapísaný len čiastočne; opätovný zápis súboru "
     "ho opraví.",
     "Probíhá zápis. Přerušit jej? Modul zůstane zapsán jen částečně; opětovný zápis souboru "
     "jej opraví.",
     "Írás folyik. Megszakítja? A modul csak részben lesz megírva; a fájl újraírása "
     "helyreállítja."},
    // StopParameterWrite
    {"Trwa zapis ustawień. Przerwać go? Ustawienia modułu zostaną zapisane tylko częściowo; "
     "ponowny zapis ustawień naprawi je.",
     "A parameter write is in progress. Stop it? The module's settings will be left partly "
     "written; writing them again repairs them.",
     "Die Einstellungen werden geschrieben. Abbrechen? Die Einstellungen des Moduls bleiben "
     "teilweise geschrieben; erneutes Schreiben repariert sie.",
     "Идёт запись настроек. Прервать её? Настройки модуля останутся записанными частично; "
     "повторная запись исправит их.",
     "Prebieha zápis nastavení. Prerušiť ho? Nastavenia modulu zostanú zapísané len čiastočne; "
     "opätovný zápis ich opraví.",
     "Probíhá zápis nastavení. Přerušit jej? Nastavení modulu zůstanou zapsána jen částečně; "
     "opětovný zápis je opraví.",
     "A beállítások írása folyik. Megszakítja? A modul beállításai csak részben lesznek "
     "megírva; az újraírás helyreállítja őket."},
    // Yes
    {"Tak", "Yes", "Ja", "Да", "Áno", "Ano", "Igen"},
    // No
    {"Nie", "No", "Nein", "Нет", "Nie", "Ne", "Nem"},
    // FirmwareFiles
    {"Pliki firmware", "Firmware files", "Firmware-Dateien", "Файлы прошивки", "Súbory firmvéru",
     "Soubory firmwaru", "Firmware-fájlok"},
    // AllFiles
    {"Wszystkie pliki", "All files", "Alle Dateien", "Все файлы", "Všetky súbory",
     "Všechny soubory", "Minden fájl"},
    // ReadTheModuleFirst
    {"Najpierw odczytaj moduł", "Read the module first", "Lesen Sie zuerst das Modul",
     "Сначала прочитайте модуль", "Najprv prečítajte modul", "Nejprve přečtěte modul",
     "Először olvassa ki a modult"},
    // WaitForModule
    {"Czekaj na moduł", "Wait for the module", "Auf das Modul warten", "Ждать модуль",
     "Čakať na modul", "Čekat na modul", "Várakozás a modulra"},
    // FindFirmware
    {"Znajdź firmware...", "Find firmware...", "Firmware suchen...", "Найти прошивку...",
     "Nájsť firmvér...", "Najít firmware...", "Firmware keresése..."},
    // CheckConnection
    {"Sprawdź połączenie", "Check the connection", "Verbindung prüfen", "Проверить соединение",
     "Skontrolovať spojenie", "Zkontrolovat spojení", "Kapcsolat ellenőrzése"},
    // SaveLog
    {"Zapisz dziennik...", "Save log...", "Protokoll speichern...", "Сохранить журнал...",
     "Uložiť záznam...", "Uložit záznam...", "Napló mentése..."},
    // SearchText
    {"Szukaj:", "Search:", "Suchen:", "Поиск:", "Hľadať:", "Hledat:", "Keresés:"},
    // LibraryFolder
    {"Folder:", "Folder:", "Ordner:", "Папка:", "Priečinok:", "Složka:", "Mappa:"},
    // OtherFolder
    {"Inny folder...", "Other folder...", "Anderer Ordner...", "Другая папка...",
     "Iný priečinok...", "Jiná složka...", "Másik mappa..."},
    // UseFirmware
    {"Użyj tego pliku", "Use this file", "Diese Datei verwenden", "Использовать этот файл",
     "Použiť tento súbor", "Použít tento soubor", "Fájl használata"},
    // CloseWindow
    {"Zamknij", "Close", "Schließen", "Закрыть", "Zavrieť", "Zavřít", "Bezárás"},
    // BrokenFirmware
    {"{file}: to nie jest poprawny plik firmware ({problem})",
     "{file}: not a firmware file that loads ({problem})",
     "{file}: keine ladbare Firmware-Datei ({problem})",
     "{file}: файл прошивки не загружается ({problem})",
     "{file}: nie je načítateľný súbor firmvéru ({problem})",
     "{file}: není načitatelný soubor firmwaru ({problem})",
     "{file}: nem betölthető firmware fájl ({problem})"},
    // LogFiles
    {"Pliki dziennika", "Log files", "Protokolldateien", "Файлы журнала", "Súbory záznamu",
     "Soubory záznamu", "Naplófájlok"},
    // ReplaceFile
    {"Plik {file} już istnieje. Zastąpić go?", "{file} exists already. Replace it?",
     "{file} existiert bereits. Ersetzen?", "Файл {file} уже существует. Заменить?",
     "{file} už existuje. Nahradiť?", "{file} již existuje. Nahradit?",
     "{file} már létezik. Lecseréli?"},
}};

}  // namespace

std::string_view windowText(WindowText text, Language language) {
    return kTexts[static_cast<std::size_t>(text)][static_cast<std::size_t>(language)];
}

}  // namespace canprog
