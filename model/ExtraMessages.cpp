#include "ExtraMessages.h"

#include <array>

namespace canprog {

namespace {

//   Polish, English, German, Russian, Slovak, Czech, Hungarian
const std::array<Translations, kExtraCount> kExtraTexts = {{
    // DeviceLost
    {"Utracono połączenie z modułem ({device}): sprawdź kabel i zasilanie modułu",
     "Lost the connection to the module ({device}): check the cable and the module's power",
     "Verbindung zum Modul verloren ({device}): prüfen Sie das Kabel und die Stromversorgung des "
     "Moduls",
     "Связь с модулем потеряна ({device}): проверьте кабель и питание модуля",
     "Spojenie s modulom sa prerušilo ({device}): skontrolujte kábel a napájanie modulu",
     "Spojení s modulem bylo přerušeno ({device}): zkontrolujte kabel a napájení modulu",
     "Megszakadt a kapcsolat a modullal ({device}): ellenőrizze a kábelt és a modul tápellátását"},
    // ModuleStoppedAnswering
    {"Moduł przestał odpowiadać ({device}): sprawdź zasilanie modułu i kabel",
     "The module stopped answering ({device}): check the module's power and the cable",
     "Das Modul antwortet nicht mehr ({device}): prüfen Sie die Stromversorgung des Moduls und das "
     "Kabel",
     "Модуль перестал отвечать ({device}): проверьте питание модуля и кабель",
     "Modul prestal odpovedať ({device}): skontrolujte napájanie modulu a kábel",
     "Modul přestal odpovídat ({device}): zkontrolujte napájení modulu a kabel",
     "A modul nem válaszol tovább ({device}): ellenőrizze a modul tápellátását és a kábelt"},
    // ModuleUnchanged
    {"Nic nie zostało zapisane: moduł jest bez zmian.",
     "Nothing was written: the module is unchanged.",
     "Es wurde nichts geschrieben: das Modul ist unverändert.",
     "Ничего не записано: модуль не изменён.", "Nič sa nezapísalo: modul je nezmenený.",
     "Nic nebylo zapsáno: modul je beze změny.", "Semmi sem íródott be: a modul változatlan."},
    // HalfWritten
    {"Moduł jest zapisany tylko częściowo (potwierdzone bloki: {blocks}). Obszar bootloadera jest "
     "nienaruszony, więc ponowny zapis pliku naprawi moduł.",
     "The module is only partly written (acknowledged blocks: {blocks}). The bootloader's own area "
     "is untouched, so writing the file again repairs the module.",
     "Das Modul ist nur teilweise beschrieben (bestätigte Blöcke: {blocks}). Der Bereich des "
     "Bootloaders ist unberührt, daher repariert ein erneutes Schreiben der Datei das Modul.",
     "Модуль записан лишь частично (подтверждённые блоки: {blocks}). Область загрузчика не "
     "затронута, поэтому повторная запись файла восстановит модуль.",
     "Modul je zapísaný len čiastočne (potvrdené bloky: {blocks}). Oblasť bootloadera je "
     "nedotknutá, preto opätovný zápis súboru modul opraví.",
     "Modul je zapsán jen částečně (potvrzené bloky: {blocks}). Oblast bootloaderu je nedotčená, "
     "proto opětovný zápis souboru modul opraví.",
     "A modul csak részben íródott meg (visszaigazolt blokkok: {blocks}). A bootloader saját "
     "területe érintetlen, ezért a fájl újraírása helyreállítja a modult."},
    // WrittenNotVerified
    {"Wszystkie bloki są zapisane i potwierdzone, ale weryfikacja nie została ukończona: moduł "
     "jest nadal w bootloaderze, z PIN-em {pin}. Zapisz plik ponownie, aby go zweryfikować i "
     "uruchomić moduł, albo wyłącz i włącz moduł, aby uruchomić go bez weryfikacji.",
     "Every block is written and acknowledged, but the verify did not finish: the module is "
     "still in its bootloader, with PIN {pin}. Write the file again to verify it and restart "
     "the module, or switch the module off and on to start it unverified.",
     "Alle Blöcke sind geschrieben und bestätigt, aber die Prüfung wurde nicht abgeschlossen: "
     "das Modul ist noch im Bootloader, mit PIN {pin}. Schreiben Sie die Datei erneut, um sie "
     "zu prüfen und das Modul neu zu starten, oder schalten Sie das Modul aus und wieder ein, "
     "um es ungeprüft zu starten.",
     "Все блоки записаны и подтверждены, но проверка не завершена: модуль всё ещё в "
     "загрузчике, PIN {pin}. Запишите файл ещё раз, чтобы проверить его и перезапустить "
     "модуль, или выключите и включите модуль, чтобы запустить его без проверки.",
     "Všetky bloky sú zapísané a potvrdené, ale overenie sa nedokončilo: modul je stále v "
     "bootloaderi, s PIN {pin}. Zapíšte súbor znova, aby sa overil a modul reštartoval, alebo "
     "modul vypnite a zapnite, aby sa spustil bez overenia.",
     "Všechny bloky jsou zapsány a potvrzeny, ale ověření nebylo dokončeno: modul je stále v "
     "bootloaderu, s PIN {pin}. Zapište soubor znovu, aby se ověřil a modul restartoval, nebo "
     "modul vypněte a zapněte, aby se spustil bez ověření.",
     "Minden blokk beíródott és vissza lett igazolva, de az ellenőrzés nem fejeződött be: a "
     "modul még a bootloaderben van, a PIN {pin}. Írja be újra a fájlt az ellenőrzéshez és a "
     "modul újraindításához, vagy kapcsolja ki és be a modult, hogy ellenőrzés nélkül "
     "induljon."},
    // WrittenVerifyFailed
    {"Wszystkie bloki zostały potwierdzone, ale odczytany EEPROM różni się od pliku: moduł jest "
     "nadal w bootloaderze, z PIN-em {pin}. Zapisz plik ponownie.",
     "Every block was acknowledged, but the EEPROM read back differs from the file: the module "
     "is still in its bootloader, with PIN {pin}. Write the file again.",
     "Alle Blöcke wurden bestätigt, aber das zurückgelesene EEPROM weicht von der Datei ab: das "
     "Modul ist noch im Bootloader, mit PIN {pin}. Schreiben Sie die Datei erneut.",
     "Все блоки подтверждены, но прочитанная EEPROM отличается от файла: модуль всё ещё в "
     "загрузчике, PIN {pin}. Запишите файл ещё раз.",
     "Všetky bloky boli potvrdené, ale spätne prečítaná EEPROM sa líši od súboru: modul je "
     "stále v bootloaderi, s PIN {pin}. Zapíšte súbor znova.",
     "Všechny bloky byly potvrzeny, ale zpětně přečtená EEPROM se liší od souboru: modul je "
     "stále v bootloaderu, s PIN {pin}. Zapište soubor znovu.",
     "Minden blokk vissza lett igazolva, de a visszaolvasott EEPROM eltér a fájltól: a modul "
     "még a bootloaderben van, a PIN {pin}. Írja be újra a fájlt."},
    // PortMissing
    {"{device}: nie ma takiego portu. Dostępne porty: {ports}",
     "{device}: there is no such port. Ports present now: {ports}",
     "{device}: diesen Port gibt es nicht. Vorhandene Ports: {ports}",
     "{device}: такого порта нет. Доступные порты: {ports}",
     "{device}: taký port neexistuje. Dostupné porty: {ports}",
     "{device}: takový port neexistuje. Dostupné porty: {ports}",
     "{device}: nincs ilyen port. Elérhető portok: {ports}"},
    // PortMissingNoneThere
    {"{device}: nie ma takiego portu ani żadnego innego: sprawdź, czy adapter jest podłączony",
     "{device}: there is no such port, nor any other: check that the adapter is plugged in",
     "{device}: diesen Port gibt es nicht, auch keinen anderen: prüfen Sie, ob der Adapter "
     "eingesteckt ist",
     "{device}: такого порта нет, как и других: проверьте, подключён ли адаптер",
     "{device}: taký port neexistuje, ani žiadny iný: skontrolujte, či je adaptér pripojený",
     "{device}: takový port neexistuje, ani žádný jiný: zkontrolujte, zda je adaptér připojen",
     "{device}: nincs ilyen port, és más sincs: ellenőrizze, hogy az adapter csatlakoztatva "
     "van-e"},
    // PortNotSerial
    {"{device}: to nie jest port szeregowy", "{device}: this is not a serial port",
     "{device}: das ist kein serieller Port", "{device}: это не последовательный порт",
     "{device}: toto nie je sériový port", "{device}: toto není sériový port",
     "{device}: ez nem soros port"},
    // PortBusy
    {"{device}: port jest zajęty przez inny program; zamknij ten program i spróbuj ponownie",
     "{device}: the port is in use by another program; close that program and try again",
     "{device}: der Port wird von einem anderen Programm benutzt; schließen Sie es und "
     "versuchen Sie es erneut",
     "{device}: порт занят другой программой; закройте её и попробуйте снова",
     "{device}: port používa iný program; zatvorte ho a skúste to znova",
     "{device}: port používá jiný program; zavřete jej a zkuste to znovu",
     "{device}: a portot egy másik program használja; zárja be, és próbálja újra"},
    // PortPermission
    {"{device}: brak uprawnień do portu. Wykonaj: sudo usermod -aG dialout $USER, potem wyloguj "
     "się i zaloguj ponownie",
     "{device}: no permission to open the port. Run: sudo usermod -aG dialout $USER, then log out "
     "and in again",
     "{device}: keine Berechtigung für den Port. Führen Sie aus: sudo usermod -aG dialout $USER, "
     "und melden Sie sich dann ab und wieder an",
     "{device}: нет прав на порт. Выполните: sudo usermod -aG dialout $USER, затем выйдите и "
     "войдите снова",
     "{device}: chýba oprávnenie k portu. Spustite: sudo usermod -aG dialout $USER, potom sa "
     "odhláste a znova prihláste",
     "{device}: chybí oprávnění k portu. Spusťte: sudo usermod -aG dialout $USER, pak se odhlaste "
     "a znovu přihlaste",
     "{device}: nincs jogosultság a porthoz. Futtassa: sudo usermod -aG dialout $USER, majd "
     "jelentkezzen ki és be"},
    // PortFailed
    {"{device}: nie udało się otworzyć portu: {reason}",
     "{device}: the port could not be opened: {reason}",
     "{device}: der Port ließ sich nicht öffnen: {reason}",
     "{device}: не удалось открыть порт: {reason}",
     "{device}: port sa nepodarilo otvoriť: {reason}",
     "{device}: port se nepodařilo otevřít: {reason}",
     "{device}: a portot nem sikerült megnyitni: {reason}"},
    // CheckTheConnection
    {"Sprawdź kabel, zasilanie modułu i wybrany port",
     "Check the cable, the module's power and the chosen port",
     "Prüfen Sie das Kabel, die Stromversorgung des Moduls und den gewählten Port",
     "Проверьте кабель, питание модуля и выбранный порт",
     "Skontrolujte kábel, napájanie modulu a zvolený port",
     "Zkontrolujte kabel, napájení modulu a zvolený port",
     "Ellenőrizze a kábelt, a modul tápellátását és a kiválasztott portot"},
    // FileProblem
    {"{file}: {reason}", "{file}: {reason}", "{file}: {reason}", "{file}: {reason}",
     "{file}: {reason}", "{file}: {reason}", "{file}: {reason}"},
    // FileLineProblem
    {"{file}, wiersz {line}: {reason}", "{file}, line {line}: {reason}",
     "{file}, Zeile {line}: {reason}", "{file}, строка {line}: {reason}",
     "{file}, riadok {line}: {reason}", "{file}, řádek {line}: {reason}",
     "{file}, {line}. sor: {reason}"},
    // VerifyingEeprom
    {"Weryfikacja EEPROM...", "Verifying EEPROM...", "EEPROM wird geprüft...", "Проверка EEPROM...",
     "Overovanie EEPROM...", "Ověřování EEPROM...", "EEPROM ellenőrzése..."},
    // EepromVerified
    {"EEPROM zweryfikowany", "EEPROM verified", "EEPROM geprüft", "EEPROM проверена",
     "EEPROM overená", "EEPROM ověřena", "EEPROM ellenőrizve"},
    // VerifyFailed
    {"Weryfikacja EEPROM nie powiodła się pod adresem {address}: zapisano {written}, "
     "odczytano {read}",
     "EEPROM verify failed at address {address}: written {written}, read back {read}",
     "EEPROM-Prüfung fehlgeschlagen an Adresse {address}: geschrieben {written}, gelesen {read}",
     "Проверка EEPROM не пройдена по адресу {address}: записано {written}, прочитано {read}",
     "Overenie EEPROM zlyhalo na adrese {address}: zapísané {written}, prečítané {read}",
     "Ověření EEPROM selhalo na adrese {address}: zapsáno {written}, přečteno {read}",
     "Az EEPROM ellenőrzése hibát talált a(z) {address} címen: írva {written}, visszaolvasva "
     "{read}"},
    // SettingsKept
    {"Zachowano ustawienia modułu: PIN {pin}, tryb pracy {mode}, program CAN {program} oraz "
     "opcje (1) do (10) takie, jakie miał moduł",
     "The module's settings are kept: PIN {pin}, operating mode {mode}, CAN program {program} "
     "and options (1) to (10) as the module had them",
     "Die Einstellungen des Moduls bleiben erhalten: PIN {pin}, Betriebsmodus {mode}, "
     "CAN-Programm {program} und die Optionen (1) bis (10) wie im Modul",
     "Настройки модуля сохранены: PIN {pin}, режим работы {mode}, программа CAN {program} и "
     "опции (1)–(10), как они были в модуле",
     "Nastavenia modulu zostávajú zachované: PIN {pin}, režim {mode}, program CAN {program} a "
     "voľby (1) až (10) tak, ako ich mal modul",
     "Nastavení modulu zůstávají zachována: PIN {pin}, režim {mode}, program CAN {program} a "
     "volby (1) až (10) tak, jak je měl modul",
     "A modul beállításai megmaradnak: PIN {pin}, üzemmód {mode}, CAN-program {program}, "
     "valamint az (1)–(10) opciók, ahogy a modulban voltak"},
    // NothingToKeep
    {"Moduł nie ma ustawień do zachowania: zapisywane są ustawienia z pliku",
     "The module has no settings to keep: the file's settings are written",
     "Das Modul hat keine Einstellungen, die erhalten werden könnten: geschrieben werden die "
     "Einstellungen der Datei",
     "У модуля нет настроек, которые можно сохранить: записываются настройки из файла",
     "Modul nemá nastavenia, ktoré by sa dali zachovať: zapisujú sa nastavenia zo súboru",
     "Modul nemá nastavení, která by se dala zachovat: zapisují se nastavení ze souboru",
     "A modulnak nincsenek megtartható beállításai: a fájl beállításai íródnak be"},
    // SettingsPartlyKept
    {"Zachowano ustawienia modułu: {kept}. Z pliku, bo ustawienia modułu są nieprawidłowe: "
     "{fromFile}",
     "Kept from the module: {kept}. From the file, as the module's are not valid: {fromFile}",
     "Vom Modul übernommen: {kept}. Aus der Datei, da die des Moduls ungültig sind: {fromFile}",
     "Сохранено из модуля: {kept}. Из файла, так как в модуле они недействительны: {fromFile}",
     "Zachované z modulu: {kept}. Zo súboru, lebo v module sú neplatné: {fromFile}",
     "Zachováno z modulu: {kept}. Ze souboru, protože v modulu jsou neplatné: {fromFile}",
     "A modulból megtartva: {kept}. A fájlból, mert a modulban érvénytelenek: {fromFile}"},
    // ItemPin
    {"PIN {pin}", "PIN {pin}", "PIN {pin}", "PIN {pin}", "PIN {pin}", "PIN {pin}", "PIN {pin}"},
    // ItemOptions
    {"opcje (1) do (8)", "options (1) to (8)", "Optionen (1) bis (8)", "опции (1)–(8)",
     "voľby (1) až (8)", "volby (1) až (8)", "az (1)–(8) opciók"},
    // ItemModeByte
    {"opcja (9), (10) i tryb pracy {mode}", "option (9), (10) and operating mode {mode}",
     "Option (9), (10) und Betriebsmodus {mode}", "опции (9), (10) и режим работы {mode}",
     "voľby (9), (10) a režim {mode}", "volby (9), (10) a režim {mode}",
     "a (9), (10) opció és a(z) {mode} üzemmód"},
    // ItemCanProgram
    {"program CAN {program}", "CAN program {program}", "CAN-Programm {program}",
     "программа CAN {program}", "program CAN {program}", "program CAN {program}",
     "CAN-program {program}"},
    // NoneChecked
    {"brak", "none", "keine", "нет", "žiadne", "žádné", "nincs"},
    // SettingsHalfWritten
    {"Ustawienia modułu są zapisane tylko częściowo (potwierdzone bloki EEPROM: {eeprom}/16); PIN "
     "w module to teraz {pin}. Ponowny zapis ustawień naprawi moduł.",
     "The module's settings are only partly written (acknowledged EEPROM blocks: {eeprom}/16); PIN "
     "now {pin}. Writing the settings again repairs the module.",
     "Die Einstellungen des Moduls sind nur teilweise geschrieben (bestätigte EEPROM-Blöcke: "
     "{eeprom}/16); PIN jetzt {pin}. Erneutes Schreiben der Einstellungen repariert das Modul.",
     "Настройки модуля записаны лишь частично (подтверждённые блоки EEPROM: {eeprom}/16); PIN "
     "теперь {pin}. Повторная запись настроек восстановит модуль.",
     "Nastavenia modulu sú zapísané len čiastočne (potvrdené bloky EEPROM: {eeprom}/16); PIN je "
     "teraz {pin}. Opätovný zápis nastavení modul opraví.",
     "Nastavení modulu jsou zapsána jen částečně (potvrzené bloky EEPROM: {eeprom}/16); PIN je "
     "nyní {pin}. Opětovný zápis nastavení modul opraví.",
     "A modul beállításai csak részben íródtak meg (visszaigazolt EEPROM-blokkok: {eeprom}/16); a "
     "PIN most {pin}. A beállítások újraírása helyreállítja a modult."},
    // SettingsNotVerified
    {"Ustawienia modułu są zapisane w całości (PIN to teraz {pin}), ale weryfikacja nie została "
     "ukończona: moduł jest nadal w bootloaderze. Zapisz ustawienia ponownie, aby je "
     "zweryfikować i uruchomić moduł, albo wyłącz i włącz moduł, aby uruchomić go bez "
     "weryfikacji.",
     "The module's settings are written completely (PIN now {pin}), but the verify did not "
     "finish: the module is still in its bootloader. Write the settings again to verify them "
     "and restart the module, or switch the module off and on to start it unverified.",
     "Die Einstellungen des Moduls sind vollständig geschrieben (PIN jetzt {pin}), aber die "
     "Prüfung wurde nicht abgeschlossen: das Modul ist noch im Bootloader. Schreiben Sie die "
     "Einstellungen erneut, um sie zu prüfen und das Modul neu zu starten, oder schalten Sie "
     "das Modul aus und wieder ein, um es ungeprüft zu starten.",
     "Настройки модуля записаны полностью (PIN теперь {pin}), но проверка не завершена: модуль "
     "всё ещё в загрузчике. Запишите настройки ещё раз, чтобы проверить их и перезапустить "
     "модуль, или выключите и включите модуль, чтобы запустить его без проверки.",
     "Nastavenia modulu sú zapísané celé (PIN je teraz {pin}), ale overenie sa nedokončilo: "
     "modul je stále v bootloaderi. Zapíšte nastavenia znova, aby sa overili a modul "
     "reštartoval, alebo modul vypnite a zapnite, aby sa spustil bez overenia.",
     "Nastavení modulu jsou zapsána celá (PIN je nyní {pin}), ale ověření nebylo dokončeno: "
     "modul je stále v bootloaderu. Zapište nastavení znovu, aby se ověřila a modul "
     "restartoval, nebo modul vypněte a zapněte, aby se spustil bez ověření.",
     "A modul beállításai teljesen beíródtak (a PIN most {pin}), de az ellenőrzés nem "
     "fejeződött be: a modul még a bootloaderben van. Írja be újra a beállításokat az "
     "ellenőrzéshez és a modul újraindításához, vagy kapcsolja ki és be a modult, hogy "
     "ellenőrzés nélkül induljon."},
    // SettingsVerifyFailed
    {"Ustawienia modułu zostały potwierdzone, ale odczytany EEPROM się od nich różni: moduł "
     "jest nadal w bootloaderze, z PIN-em {pin}. Zapisz ustawienia ponownie.",
     "The module's settings were acknowledged, but the EEPROM read back differs from them: the "
     "module is still in its bootloader, with PIN {pin}. Write the settings again.",
     "Die Einstellungen des Moduls wurden bestätigt, aber das zurückgelesene EEPROM weicht von "
     "ihnen ab: das Modul ist noch im Bootloader, mit PIN {pin}. Schreiben Sie die "
     "Einstellungen erneut.",
     "Настройки модуля подтверждены, но прочитанная EEPROM от них отличается: модуль всё ещё в "
     "загрузчике, PIN {pin}. Запишите настройки ещё раз.",
     "Nastavenia modulu boli potvrdené, ale spätne prečítaná EEPROM sa od nich líši: modul je "
     "stále v bootloaderi, s PIN {pin}. Zapíšte nastavenia znova.",
     "Nastavení modulu byla potvrzena, ale zpětně přečtená EEPROM se od nich liší: modul je "
     "stále v bootloaderu, s PIN {pin}. Zapište nastavení znovu.",
     "A modul beállításai vissza lettek igazolva, de a visszaolvasott EEPROM eltér tőlük: a "
     "modul még a bootloaderben van, a PIN {pin}. Írja be újra a beállításokat."},
    // ModuleAndBlock
    {"Moduł: urządzenie {moduleId}, program {moduleVersion}; blok z pliku: urządzenie {blockId}, "
     "program {blockVersion}",
     "Module: device {moduleId}, program {moduleVersion}; saved block: device {blockId}, program "
     "{blockVersion}",
     "Modul: Gerät {moduleId}, Programm {moduleVersion}; gespeicherter Block: Gerät {blockId}, "
     "Programm {blockVersion}",
     "Модуль: устройство {moduleId}, программа {moduleVersion}; сохранённый блок: устройство "
     "{blockId}, программа {blockVersion}",
     "Modul: zariadenie {moduleId}, program {moduleVersion}; uložený blok: zariadenie {blockId}, "
     "program {blockVersion}",
     "Modul: zařízení {moduleId}, program {moduleVersion}; uložený blok: zařízení {blockId}, "
     "program {blockVersion}",
     "Modul: eszköz {moduleId}, program {moduleVersion}; mentett blokk: eszköz {blockId}, program "
     "{blockVersion}"},
    // BlockOfAnotherModule
    {"Blok z pliku pochodzi z innego modułu (urządzenie {blockId}; ten moduł to {moduleId}): moduł "
     "pozostał bez zmian",
     "The saved block comes from another module (device {blockId}; this module is {moduleId}): "
     "nothing was written",
     "Der gespeicherte Block stammt von einem anderen Modul (Gerät {blockId}; dieses Modul ist "
     "{moduleId}): es wurde nichts geschrieben",
     "Сохранённый блок получен с другого модуля (устройство {blockId}; этот модуль — {moduleId}): "
     "ничего не записано",
     "Uložený blok pochádza z iného modulu (zariadenie {blockId}; tento modul je {moduleId}): nič "
     "sa nezapísalo",
     "Uložený blok pochází z jiného modulu (zařízení {blockId}; tento modul je {moduleId}): nic "
     "nebylo zapsáno",
     "A mentett blokk egy másik modulból származik (eszköz {blockId}; ez a modul {moduleId}): "
     "semmi sem íródott be"},
    // BlockOfAnotherProgram
    {"Blok z pliku należy do innego programu ({blockVersion}; moduł ma {moduleVersion}): moduł "
     "pozostał bez zmian",
     "The saved block belongs to another program ({blockVersion}; the module holds "
     "{moduleVersion}): nothing was written",
     "Der gespeicherte Block gehört zu einem anderen Programm ({blockVersion}; das Modul hat "
     "{moduleVersion}): es wurde nichts geschrieben",
     "Сохранённый блок относится к другой программе ({blockVersion}; в модуле {moduleVersion}): "
     "ничего не записано",
     "Uložený blok patrí inému programu ({blockVersion}; modul má {moduleVersion}): nič sa "
     "nezapísalo",
     "Uložený blok patří jinému programu ({blockVersion}; modul má {moduleVersion}): nic nebylo "
     "zapsáno",
     "A mentett blokk egy másik programhoz tartozik ({blockVersion}; a modulban {moduleVersion} "
     "van): semmi sem íródott be"},
    // VersionsBeforeWrite
    {"Moduł: {module} — plik: {file}", "Module: {module} — file: {file}",
     "Modul: {module} — Datei: {file}", "Модуль: {module} — файл: {file}",
     "Modul: {module} — súbor: {file}", "Modul: {module} — soubor: {file}",
     "Modul: {module} — fájl: {file}"},
    // AnotherProgramInFile
    {"Uwaga: plik zawiera program {file}, a moduł program {module}",
     "Note: the file holds the program {file}, the module holds {module}",
     "Achtung: die Datei enthält das Programm {file}, das Modul das Programm {module}",
     "Внимание: в файле программа {file}, в модуле — {module}",
     "Pozor: súbor obsahuje program {file}, modul program {module}",
     "Pozor: soubor obsahuje program {file}, modul program {module}",
     "Figyelem: a fájl a(z) {file} programot tartalmazza, a modul a(z) {module} programot"},
    // WriteAnotherProgram
    {"Plik zawiera program {file}, a moduł program {module}. Zapisać inny program do modułu?",
     "The file holds the program {file}, the module holds {module}. Write the other program "
     "into the module?",
     "Die Datei enthält das Programm {file}, das Modul das Programm {module}. Das andere "
     "Programm in das Modul schreiben?",
     "В файле программа {file}, в модуле — {module}. Записать в модуль другую программу?",
     "Súbor obsahuje program {file}, modul program {module}. Zapísať do modulu iný program?",
     "Soubor obsahuje program {file}, modul program {module}. Zapsat do modulu jiný program?",
     "A fájl a(z) {file} programot tartalmazza, a modul a(z) {module} programot. Beírja a "
     "másik programot a modulba?"},
    // AnotherProgramSettings
    {"Ustawienia modułu nie przechodzą na inny program: zapisane zostaną ustawienia z pliku.",
     "The module's settings are not carried over to another program: the file's settings are "
     "written.",
     "Die Einstellungen des Moduls werden nicht auf ein anderes Programm übertragen: "
     "geschrieben werden die Einstellungen der Datei.",
     "Настройки модуля не переносятся на другую программу: будут записаны настройки из файла.",
     "Nastavenia modulu sa na iný program neprenášajú: zapíšu sa nastavenia zo súboru.",
     "Nastavení modulu se na jiný program nepřenášejí: zapíšou se nastavení ze souboru.",
     "A modul beállításai nem kerülnek át egy másik programra: a fájl beállításai íródnak be."},
    // SettingsNotCarriedOver
    {"Ustawienia modułu nie przechodzą na inny program: zapisywane są ustawienia z pliku",
     "The module's settings are not carried over to another program: the file's settings are "
     "written",
     "Die Einstellungen des Moduls werden nicht auf ein anderes Programm übertragen: "
     "geschrieben werden die Einstellungen der Datei",
     "Настройки модуля не переносятся на другую программу: записываются настройки из файла",
     "Nastavenia modulu sa na iný program neprenášajú: zapisujú sa nastavenia zo súboru",
     "Nastavení modulu se na jiný program nepřenášejí: zapisují se nastavení ze souboru",
     "A modul beállításai nem kerülnek át egy másik programra: a fájl beállításai íródnak be"},
    // NothingWrittenProgramKept
    {"Nic nie zostało zapisane: moduł zachowuje swój program.",
     "Nothing was written: the module keeps its program.",
     "Es wurde nichts geschrieben: das Modul behält sein Programm.",
     "Ничего не записано: в модуле осталась его программа.",
     "Nič sa nezapísalo: modul si ponecháva svoj program.",
     "Nic nebylo zapsáno: modul si ponechává svůj program.",
     "Semmi sem íródott be: a modul megtartja a programját."},
    // VersionAfterWrite
    {"Moduł ma teraz: {version}", "The module now holds: {version}",
     "Das Modul hat jetzt: {version}", "Теперь в модуле: {version}", "Modul má teraz: {version}",
     "Modul má nyní: {version}", "A modulban most: {version}"},
    // SettingsSaved
    {"Ustawienia zapisano w pliku {file}", "The settings are saved in {file}",
     "Die Einstellungen sind in {file} gesichert", "Настройки сохранены в файле {file}",
     "Nastavenia sú uložené v súbore {file}", "Nastavení jsou uložena v souboru {file}",
     "A beállítások mentve: {file}"},
    // SettingsNotSaved
    {"{file}: nie udało się zapisać ustawień: {reason}",
     "{file}: the settings could not be saved: {reason}",
     "{file}: die Einstellungen ließen sich nicht sichern: {reason}",
     "{file}: не удалось сохранить настройки: {reason}",
     "{file}: nastavenia sa nepodarilo uložiť: {reason}",
     "{file}: nastavení se nepodařilo uložit: {reason}",
     "{file}: a beállításokat nem sikerült menteni: {reason}"},
    // SettingsLoaded
    {"Wczytano ustawienia z pliku {file}; przycisk Zapis zapisze je w module",
     "The settings of {file} are shown; Saving writes them into the module",
     "Die Einstellungen aus {file} werden angezeigt; Speichern schreibt sie in das Modul",
     "Показаны настройки из файла {file}; кнопка записи запишет их в модуль",
     "Zobrazené sú nastavenia zo súboru {file}; Uložiť ich zapíše do modulu",
     "Zobrazena jsou nastavení ze souboru {file}; Uložit je zapíše do modulu",
     "A(z) {file} beállításai láthatók; a Mentés beírja őket a modulba"},
    // SettingsNotLoaded
    {"{file}: nie wczytano ustawień: {reason}", "{file}: the settings are not loaded: {reason}",
     "{file}: die Einstellungen wurden nicht geladen: {reason}",
     "{file}: настройки не загружены: {reason}", "{file}: nastavenia sa nenačítali: {reason}",
     "{file}: nastavení nebyla načtena: {reason}",
     "{file}: a beállítások nem töltődtek be: {reason}"},
    // SettingsOfAnotherModule
    {"plik zapisano z innego modułu (urządzenie {blockId}; ten moduł to {moduleId})",
     "the file was saved from another module (device {blockId}; this module is {moduleId})",
     "die Datei stammt von einem anderen Modul (Gerät {blockId}; dieses Modul ist {moduleId})",
     "файл сохранён с другого модуля (устройство {blockId}; этот модуль — {moduleId})",
     "súbor bol uložený z iného modulu (zariadenie {blockId}; tento modul je {moduleId})",
     "soubor byl uložen z jiného modulu (zařízení {blockId}; tento modul je {moduleId})",
     "a fájlt egy másik modulból mentették (eszköz {blockId}; ez a modul {moduleId})"},
    // SettingsOfAnotherProgram
    {"plik zapisano przy innym programie ({blockVersion}; moduł ma {moduleVersion})",
     "the file was saved over another program ({blockVersion}; the module holds "
     "{moduleVersion})",
     "die Datei wurde unter einem anderen Programm gesichert ({blockVersion}; das Modul hat "
     "{moduleVersion})",
     "файл сохранён при другой программе ({blockVersion}; в модуле {moduleVersion})",
     "súbor bol uložený pri inom programe ({blockVersion}; modul má {moduleVersion})",
     "soubor byl uložen při jiném programu ({blockVersion}; modul má {moduleVersion})",
     "a fájlt egy másik program alatt mentették ({blockVersion}; a modulban {moduleVersion} "
     "van)"},
    // SavedFileNotABlock
    {"to nie jest plik ustawień zapisany przez canprog",
     "this is not a settings file saved by canprog",
     "das ist keine von canprog gesicherte Einstellungsdatei",
     "это не файл настроек, сохранённый canprog",
     "toto nie je súbor nastavení uložený programom canprog",
     "toto není soubor nastavení uložený programem canprog",
     "ez nem a canprog által mentett beállításfájl"},
    // SavedFileNoModule
    {"plik nie podaje, z którego modułu pochodzi",
     "the file does not say which module it was saved from",
     "die Datei gibt nicht an, von welchem Modul sie stammt",
     "в файле не указано, с какого модуля он сохранён",
     "súbor neuvádza, z ktorého modulu bol uložený", "soubor neuvádí, ze kterého modulu byl uložen",
     "a fájlból nem derül ki, melyik modulból mentették"},
    // SavedFileEdited
    {"plik zmieniono po zapisaniu: jego ustawienia nie zgadzają się z jego bajtami",
     "the file was changed after it was saved: its settings do not match its bytes",
     "die Datei wurde nach dem Sichern geändert: ihre Einstellungen passen nicht zu ihren Bytes",
     "файл изменён после сохранения: его настройки не соответствуют его байтам",
     "súbor bol po uložení zmenený: jeho nastavenia nezodpovedajú jeho bajtom",
     "soubor byl po uložení změněn: jeho nastavení neodpovídají jeho bajtům",
     "a fájlt mentés után megváltoztatták: a beállításai nem egyeznek a bájtjaival"},
    // ErasedVersion
    {"(wyczyszczony)", "(erased)", "(gelöscht)", "(стёрт)", "(vymazaný)", "(vymazaný)", "(törölt)"},
    // PinIsFourDigits
    {"PIN musi mieć cztery cyfry", "The PIN must be four digits",
     "Die PIN muss aus vier Ziffern bestehen", "PIN должен состоять из четырёх цифр",
     "PIN musí mať štyri číslice", "PIN musí mít čtyři číslice",
     "A PIN-nek négy számjegyből kell állnia"},
    // SlowAdapter
    {"Adapter przetrzymuje każdą odpowiedź modułu przez około {delay} ms: ten zapis potrwa o około "
     "{extra} s dłużej, niż wymaga łącze. {advice}",
     "The adapter holds every reply of the module for about {delay} ms: this write takes about "
     "{extra} s longer than the line needs. {advice}",
     "Der Adapter hält jede Antwort des Moduls etwa {delay} ms zurück: dadurch dauert der "
     "Schreibvorgang etwa {extra} s länger, als die Übertragung erfordert. {advice}",
     "Адаптер задерживает каждый ответ модуля примерно на {delay} мс: эта запись займёт примерно "
     "на {extra} с больше, чем требует линия. {advice}",
     "Adaptér zadržiava každú odpoveď modulu asi {delay} ms: tento zápis potrvá asi o {extra} s "
     "dlhšie, než vyžaduje linka. {advice}",
     "Adaptér zdržuje každou odpověď modulu asi {delay} ms: tento zápis potrvá asi o {extra} s "
     "déle, než vyžaduje linka. {advice}",
     "Az adapter a modul minden válaszát kb. {delay} ms-ig visszatartja: ez az írás kb. {extra} "
     "másodperccel tovább tart, mint amennyit a vonal igényel. {advice}"},
    // FtdiLatencyAdvice
    {"W Menedżerze urządzeń otwórz Właściwości portu, Ustawienia portu, Zaawansowane i ustaw "
     "„Latency Timer (msec)” na 1 (teraz {now}).",
     "In Device Manager open the port's Properties, Port Settings, Advanced, and set \"Latency "
     "Timer (msec)\" to 1 (it is {now} now).",
     "Öffnen Sie im Geräte-Manager die Eigenschaften des Ports, dann Anschlusseinstellungen und "
     "Erweitert, und setzen Sie „Latency Timer (msec)“ auf 1 (jetzt {now}).",
     "В Диспетчере устройств откройте Свойства порта, Параметры порта, Дополнительно и установите "
     "«Latency Timer (msec)» равным 1 (сейчас {now}).",
     "V Správcovi zariadení otvorte Vlastnosti portu, Nastavenie portu, Rozšírené a nastavte "
     "„Latency Timer (msec)“ na 1 (teraz {now}).",
     "Ve Správci zařízení otevřete Vlastnosti portu, Nastavení portu, Upřesnit a nastavte „Latency "
     "Timer (msec)“ na 1 (nyní {now}).",
     "Az Eszközkezelőben nyissa meg a port Tulajdonságait, Portbeállítások, Speciális, és állítsa "
     "a „Latency Timer (msec)” értékét 1-re (most {now})."},
    // SlowAdapterAdvice
    {"Krótszy czas oczekiwania w ustawieniach sterownika adaptera albo inny adapter przyspieszy "
     "zapis.",
     "A shorter latency in the adapter driver's settings, or another adapter, makes it faster.",
     "Eine kürzere Latenz in den Treibereinstellungen des Adapters oder ein anderer Adapter macht "
     "ihn schneller.",
     "Меньшая задержка в настройках драйвера адаптера или другой адаптер ускорят запись.",
     "Kratšia latencia v nastaveniach ovládača adaptéra alebo iný adaptér zápis zrýchli.",
     "Kratší latence v nastavení ovladače adaptéru nebo jiný adaptér zápis zrychlí.",
     "Az adapter illesztőprogramjában beállított kisebb késleltetés vagy egy másik adapter "
     "gyorsítja az írást."},
    // OnBatteryPower
    {"Komputer pracuje na baterii: zamknięcie pokrywy laptopa zatrzyma zapis.",
     "The computer runs on its battery: closing the laptop's lid stops the write.",
     "Der Computer läuft mit Akku: Wenn Sie den Deckel des Laptops schließen, wird das "
     "Schreiben angehalten.",
     "Компьютер работает от батареи: если закрыть крышку ноутбука, запись остановится.",
     "Počítač beží na batériu: zatvorenie veka notebooku zápis zastaví.",
     "Počítač běží na baterii: zavření víka notebooku zápis zastaví.",
     "A számítógép akkumulátorról működik: a laptop fedelének lecsukása leállítja az írást."},
    // LogoName
    {"Logo {brand}; otwiera {address} w przeglądarce",
     "{brand} logo; opens {address} in the browser", "Logo {brand}; öffnet {address} im Browser",
     "Логотип {brand}; открывает {address} в браузере",
     "Logo {brand}; otvorí {address} v prehliadači", "Logo {brand}; otevře {address} v prohlížeči",
     "{brand} logó; megnyitja a(z) {address} címet a böngészőben"},
    // LogoNameNoAddress
    {"Logo {brand}", "{brand} logo", "Logo {brand}", "Логотип {brand}", "Logo {brand}",
     "Logo {brand}", "{brand} logó"},
    // CanProgramNotInFile
    {"Program CAN {program}, który moduł będzie miał po zapisie, nie należy do programów tego "
     "firmware ({programs})",
     "The CAN program {program} that the module will hold after the write is not among the "
     "programs of this firmware ({programs})",
     "Das CAN-Programm {program}, das das Modul nach dem Schreiben hat, gehört nicht zu den "
     "Programmen dieser Firmware ({programs})",
     "CAN-программа {program}, которая будет в модуле после записи, не входит в программы этой "
     "прошивки ({programs})",
     "CAN program {program}, ktorý bude mať modul po zápise, nepatrí medzi programy tohto "
     "firmvéru ({programs})",
     "CAN program {program}, který bude mít modul po zápisu, nepatří mezi programy tohoto "
     "firmwaru ({programs})",
     "A(z) {program} CAN-program, amely az írás után a modulban lesz, nem tartozik e firmware "
     "programjai közé ({programs})"},
    // WriteUnlistedCanProgram
    {"Program CAN {program}, który moduł będzie miał po zapisie, nie należy do programów tego "
     "firmware ({programs}). Zapisać mimo to?",
     "The CAN program {program} that the module will hold after the write is not among the "
     "programs of this firmware ({programs}). Write it all the same?",
     "Das CAN-Programm {program}, das das Modul nach dem Schreiben hat, gehört nicht zu den "
     "Programmen dieser Firmware ({programs}). Trotzdem schreiben?",
     "CAN-программа {program}, которая будет в модуле после записи, не входит в программы этой "
     "прошивки ({programs}). Всё равно записать?",
     "CAN program {program}, ktorý bude mať modul po zápise, nepatrí medzi programy tohto "
     "firmvéru ({programs}). Napriek tomu zapísať?",
     "CAN program {program}, který bude mít modul po zápisu, nepatří mezi programy tohoto "
     "firmwaru ({programs}). Přesto zapsat?",
     "A(z) {program} CAN-program, amely az írás után a modulban lesz, nem tartozik e firmware "
     "programjai közé ({programs}). Mégis beírja?"},
    // ExpectedWriteTime
    {"Zapis potrwa około {seconds} s", "The write takes about {seconds} s",
     "Das Schreiben dauert etwa {seconds} s", "Запись займёт около {seconds} с",
     "Zápis potrvá asi {seconds} s", "Zápis potrvá asi {seconds} s",
     "Az írás kb. {seconds} mp-ig tart"},
    // TimeLeft
    {"pozostało {seconds} s", "{seconds} s left", "noch {seconds} s", "осталось {seconds} с",
     "zostáva {seconds} s", "zbývá {seconds} s", "még {seconds} mp"},
    // SwitchModuleOn
    {"Wyłącz i włącz teraz moduł (pozostało {seconds} s)",
     "Switch the module off and on now ({seconds} s left)",
     "Schalten Sie das Modul jetzt aus und wieder ein (noch {seconds} s)",
     "Выключите и снова включите модуль (осталось {seconds} с)",
     "Teraz modul vypnite a znova zapnite (zostáva {seconds} s)",
     "Nyní modul vypněte a znovu zapněte (zbývá {seconds} s)",
     "Most kapcsolja ki, majd be a modult (még {seconds} mp)"},
    // LogSaved
    {"Dziennik zapisano w pliku {file}", "The log is saved in {file}",
     "Das Protokoll ist in {file} gesichert", "Журнал сохранён в файле {file}",
     "Záznam je uložený v súbore {file}", "Záznam je uložen v souboru {file}",
     "A napló mentve: {file}"},
    // LogNotSaved
    {"{file}: nie udało się zapisać dziennika: {reason}",
     "{file}: the log could not be saved: {reason}",
     "{file}: das Protokoll ließ sich nicht sichern: {reason}",
     "{file}: не удалось сохранить журнал: {reason}",
     "{file}: záznam sa nepodarilo uložiť: {reason}",
     "{file}: záznam se nepodařilo uložit: {reason}",
     "{file}: a naplót nem sikerült menteni: {reason}"},
    // DoctorPortFound
    {"Port {port}: {adapter}", "Port {port}: {adapter}", "Port {port}: {adapter}",
     "Порт {port}: {adapter}", "Port {port}: {adapter}", "Port {port}: {adapter}",
     "Port {port}: {adapter}"},
    // DoctorNoDevice
    {"{port} nie istnieje: podłącz adapter albo wybierz port, który ma (lista portów pokazuje "
     "dostępne)",
     "{port} is not there: plug the adapter in, or choose the port it has (the port list shows "
     "those there are)",
     "{port} gibt es nicht: stecken Sie den Adapter ein oder wählen Sie seinen Port (die Portliste "
     "zeigt die vorhandenen)",
     "{port} отсутствует: подключите адаптер или выберите его порт (список портов показывает "
     "имеющиеся)",
     "{port} neexistuje: pripojte adaptér alebo vyberte jeho port (zoznam portov ukazuje dostupné)",
     "{port} neexistuje: připojte adaptér nebo vyberte jeho port (seznam portů ukazuje dostupné)",
     "{port} nem létezik: csatlakoztassa az adaptert, vagy válassza a portját (a portlista mutatja "
     "a meglévőket)"},
    // DoctorHeldBy
    {"{port} jest otwarty przez program {program} (proces {pid}): zamknij ten program",
     "{port} is held open by {program} (process {pid}): close that program",
     "{port} ist von {program} geöffnet (Prozess {pid}): schließen Sie dieses Programm",
     "{port} открыт программой {program} (процесс {pid}): закройте эту программу",
     "{port} má otvorený program {program} (proces {pid}): zatvorte tento program",
     "{port} má otevřený program {program} (proces {pid}): zavřete tento program",
     "{port} portot a(z) {program} tartja nyitva ({pid}. folyamat): zárja be azt a programot"},
    // DoctorBusy
    {"{port} jest używany przez inny program: zamknij program, który go używa",
     "{port} is in use by another program: close the program that uses it",
     "{port} wird von einem anderen Programm benutzt: schließen Sie dieses Programm",
     "{port} занят другой программой: закройте программу, которая его использует",
     "{port} používa iný program: zatvorte program, ktorý ho používa",
     "{port} používá jiný program: zavřete program, který ho používá",
     "{port} portot egy másik program használja: zárja be azt a programot"},
    // DoctorModemManager
    {"ModemManager przez kilka sekund sprawdza nowe porty ttyACM, szukając modemu: odczekaj chwilę "
     "albo każ mu pomijać adapter (udev: ENV{ID_MM_DEVICE_IGNORE}=\"1\")",
     "ModemManager probes new ttyACM ports for a modem for a few seconds: wait a moment, or have "
     "it leave the adapter alone (udev: ENV{ID_MM_DEVICE_IGNORE}=\"1\")",
     "ModemManager prüft neue ttyACM-Ports einige Sekunden lang auf ein Modem: warten Sie einen "
     "Moment oder lassen Sie ihn den Adapter auslassen (udev: ENV{ID_MM_DEVICE_IGNORE}=\"1\")",
     "ModemManager несколько секунд опрашивает новые порты ttyACM в поисках модема: подождите или "
     "запретите ему трогать адаптер (udev: ENV{ID_MM_DEVICE_IGNORE}=\"1\")",
     "ModemManager niekoľko sekúnd skúša nové porty ttyACM, či nejde o modem: chvíľu počkajte "
     "alebo mu adaptér zakážte (udev: ENV{ID_MM_DEVICE_IGNORE}=\"1\")",
     "ModemManager několik sekund zkouší nové porty ttyACM, zda nejde o modem: chvíli počkejte "
     "nebo mu adaptér zakažte (udev: ENV{ID_MM_DEVICE_IGNORE}=\"1\")",
     "A ModemManager néhány másodpercig modemet keres az új ttyACM portokon: várjon egy kicsit, "
     "vagy tiltsa le neki az adaptert (udev: ENV{ID_MM_DEVICE_IGNORE}=\"1\")"},
    // DoctorBrltty
    {"Działa brltty: uważa adaptery CH340/CH341 za monitory brajlowskie i port znika; usuń go "
     "(sudo apt purge brltty), jeśli nie używasz monitora brajlowskiego",
     "brltty is running: it takes CH340/CH341 adapters for braille displays and the port "
     "disappears; remove it (sudo apt purge brltty) unless you use a braille display",
     "brltty läuft: es hält CH340/CH341-Adapter für Braillezeilen, und der Port verschwindet; "
     "entfernen Sie es (sudo apt purge brltty), wenn Sie keine Braillezeile nutzen",
     "Запущен brltty: он принимает адаптеры CH340/CH341 за брайлевские дисплеи, и порт исчезает; "
     "удалите его (sudo apt purge brltty), если не пользуетесь брайлевским дисплеем",
     "Beží brltty: adaptéry CH340/CH341 považuje za brailovské displeje a port zmizne; odstráňte "
     "ho (sudo apt purge brltty), ak nepoužívate brailovský displej",
     "Běží brltty: adaptéry CH340/CH341 považuje za braillské displeje a port zmizí; odstraňte ho "
     "(sudo apt purge brltty), pokud nepoužíváte braillský displej",
     "Fut a brltty: a CH340/CH341 adaptereket Braille-kijelzőnek nézi, és a port eltűnik; "
     "távolítsa el (sudo apt purge brltty), ha nem használ Braille-kijelzőt"},
    // DoctorNoPermission
    {"Ten użytkownik nie może otworzyć {port}: dodaj go do grupy dialout (sudo usermod -aG dialout "
     "$USER) i zaloguj się ponownie",
     "This user may not open {port}: add it to the dialout group (sudo usermod -aG dialout $USER) "
     "and log in again",
     "Dieser Benutzer darf {port} nicht öffnen: fügen Sie ihn der Gruppe dialout hinzu (sudo "
     "usermod -aG dialout $USER) und melden Sie sich neu an",
     "Этому пользователю нельзя открыть {port}: добавьте его в группу dialout (sudo usermod -aG "
     "dialout $USER) и войдите снова",
     "Tento používateľ nesmie otvoriť {port}: pridajte ho do skupiny dialout (sudo usermod -aG "
     "dialout $USER) a prihláste sa znova",
     "Tento uživatel nesmí otevřít {port}: přidejte ho do skupiny dialout (sudo usermod -aG "
     "dialout $USER) a přihlaste se znovu",
     "Ez a felhasználó nem nyithatja meg: {port}; vegye fel a dialout csoportba (sudo usermod -aG "
     "dialout $USER), és jelentkezzen be újra"},
    // DoctorNoDriver
    {"{adapter} ({maker}) jest podłączony, ale nie ma działającego sterownika (kod problemu "
     "{code}): zainstaluj {driver}",
     "{adapter} ({maker}) is plugged in but has no working driver (problem code {code}): install "
     "{driver}",
     "{adapter} ({maker}) ist angeschlossen, hat aber keinen funktionierenden Treiber (Problemcode "
     "{code}): installieren Sie {driver}",
     "{adapter} ({maker}) подключён, но у него нет рабочего драйвера (код проблемы {code}): "
     "установите {driver}",
     "{adapter} ({maker}) je pripojený, ale nemá funkčný ovládač (kód problému {code}): "
     "nainštalujte {driver}",
     "{adapter} ({maker}) je připojen, ale nemá funkční ovladač (kód problému {code}): "
     "nainstalujte {driver}",
     "{adapter} ({maker}) csatlakoztatva van, de nincs működő illesztőprogramja ({code}. hibakód): "
     "telepítse: {driver}"},
    // DoctorLatency
    {"Zegar opóźnienia adaptera wynosi {now} ms: tyle czeka każda odpowiedź. {fix}",
     "The adapter's latency timer is {now} ms: every reply waits that long. {fix}",
     "Der Latenz-Timer des Adapters steht auf {now} ms: so lange wartet jede Antwort. {fix}",
     "Таймер задержки адаптера — {now} мс: столько ждёт каждый ответ. {fix}",
     "Časovač oneskorenia adaptéra je {now} ms: toľko čaká každá odpoveď. {fix}",
     "Časovač zpoždění adaptéru je {now} ms: tak dlouho čeká každá odpověď. {fix}",
     "Az adapter késleltetési időzítője {now} ms: minden válasz ennyit vár. {fix}"},
    // DoctorReceiveFifo
    {"Kolejka odbiorcza portu oddaje bajty dopiero co {bytes}: ustaw 1 (echo 1 | sudo tee "
     "/sys/class/tty/{tty}/rx_trig_bytes)",
     "The port's receive FIFO passes bytes on only every {bytes}: set it to 1 (echo 1 | sudo tee "
     "/sys/class/tty/{tty}/rx_trig_bytes)",
     "Der Empfangs-FIFO des Ports gibt Bytes erst alle {bytes} weiter: setzen Sie ihn auf 1 (echo "
     "1 | sudo tee /sys/class/tty/{tty}/rx_trig_bytes)",
     "Приёмный FIFO порта передаёт байты только по {bytes}: установите 1 (echo 1 | sudo tee "
     "/sys/class/tty/{tty}/rx_trig_bytes)",
     "Prijímací FIFO portu odovzdáva bajty až po {bytes}: nastavte 1 (echo 1 | sudo tee "
     "/sys/class/tty/{tty}/rx_trig_bytes)",
     "Přijímací FIFO portu předává bajty až po {bytes}: nastavte 1 (echo 1 | sudo tee "
     "/sys/class/tty/{tty}/rx_trig_bytes)",
     "A port vételi FIFO-ja csak {bytes} bájtonként adja tovább a bájtokat: állítsa 1-re (echo 1 | "
     "sudo tee /sys/class/tty/{tty}/rx_trig_bytes)"},
    // DoctorReceiveBuffer
    {"{port} to port wbudowany: ustaw jego „Bufor odbiorczy” na najmniejszy (Menedżer urządzeń, "
     "Właściwości portu, Ustawienia portu, Zaawansowane)",
     "{port} is a built-in port: set its \"Receive buffer\" to the lowest (Device Manager, the "
     "port's Properties, Port Settings, Advanced)",
     "{port} ist ein eingebauter Port: setzen Sie seinen „Empfangspuffer“ auf den kleinsten Wert "
     "(Geräte-Manager, Eigenschaften des Ports, Anschlusseinstellungen, Erweitert)",
     "{port} — встроенный порт: установите «Буфер приёма» на минимум (Диспетчер устройств, "
     "Свойства порта, Параметры порта, Дополнительно)",
     "{port} je vstavaný port: nastavte jeho „Prijímaciu vyrovnávaciu pamäť“ na najmenšiu (Správca "
     "zariadení, Vlastnosti portu, Nastavenie portu, Rozšírené)",
     "{port} je vestavěný port: nastavte jeho „Přijímací vyrovnávací paměť“ na nejmenší (Správce "
     "zařízení, Vlastnosti portu, Nastavení portu, Upřesnit)",
     "{port} beépített port: állítsa a „Fogadási puffert” a legkisebbre (Eszközkezelő, a port "
     "Tulajdonságai, Portbeállítások, Speciális)"},
    // DoctorLoopback
    {"Pętla: wróciło {back} z {sent} bajtów, czas obiegu {ms} ms",
     "Loopback: {back} of {sent} bytes came back, round trip {ms} ms",
     "Schleife: {back} von {sent} Bytes kamen zurück, Umlaufzeit {ms} ms",
     "Петля: вернулось {back} из {sent} байт, время оборота {ms} мс",
     "Slučka: vrátilo sa {back} z {sent} bajtov, čas obehu {ms} ms",
     "Smyčka: vrátilo se {back} z {sent} bajtů, doba oběhu {ms} ms",
     "Hurok: {sent} bájtból {back} jött vissza, körülfordulási idő {ms} ms"},
    // DoctorNoLoopback
    {"Pętla: nie wrócił żaden z {sent} bajtów: połącz TX z RX (styki 3 i 2 złącza DB9) i spróbuj "
     "ponownie",
     "Loopback: none of {sent} bytes came back: join TX and RX (pins 3 and 2 of a DB9) and try "
     "again",
     "Schleife: keines von {sent} Bytes kam zurück: verbinden Sie TX mit RX (Pins 3 und 2 eines "
     "DB9) und versuchen Sie es erneut",
     "Петля: не вернулся ни один из {sent} байт: соедините TX и RX (контакты 3 и 2 разъёма DB9) и "
     "повторите",
     "Slučka: nevrátil sa žiadny z {sent} bajtov: spojte TX a RX (piny 3 a 2 konektora DB9) a "
     "skúste znova",
     "Smyčka: nevrátil se žádný z {sent} bajtů: spojte TX a RX (piny 3 a 2 konektoru DB9) a zkuste "
     "znovu",
     "Hurok: a(z) {sent} bájtból egy sem jött vissza: kösse össze a TX-et és az RX-et (DB9 3. és "
     "2. tű), és próbálja újra"},
    // DoctorModule
    {"Wysłano impuls resetu; bootloader modułu odpowiedział po {ms} ms: ID urządzenia {id}, "
     "{version}",
     "Reset pulse sent; the module's bootloader answered after {ms} ms: device ID {id}, {version}",
     "Reset-Impuls gesendet; der Bootloader des Moduls antwortete nach {ms} ms: Geräte-ID {id}, "
     "{version}",
     "Импульс сброса отправлен; загрузчик модуля ответил через {ms} мс: ID устройства {id}, "
     "{version}",
     "Resetovací impulz odoslaný; bootloader modulu odpovedal po {ms} ms: ID zariadenia {id}, "
     "{version}",
     "Resetovací impulz odeslán; bootloader modulu odpověděl po {ms} ms: ID zařízení {id}, "
     "{version}",
     "Reset impulzus elküldve; a modul rendszerbetöltője {ms} ms után válaszolt: eszközazonosító "
     "{id}, {version}"},
    // DoctorNoModule
    {"Żaden bootloader nie odpowiedział: sprawdź kabel i zasilanie modułu; kabel bez linii resetu "
     "wymaga opcji „Czekaj na moduł”",
     "No bootloader answered: check the cable and the module's power; a cable without a reset line "
     "needs \"Wait for the module\"",
     "Kein Bootloader antwortete: prüfen Sie das Kabel und die Stromversorgung des Moduls; ein "
     "Kabel ohne Reset-Leitung braucht „Auf das Modul warten“",
     "Загрузчик не ответил: проверьте кабель и питание модуля; для кабеля без линии сброса "
     "включите «Ждать модуль»",
     "Žiadny bootloader neodpovedal: skontrolujte kábel a napájanie modulu; kábel bez resetovacej "
     "linky potrebuje „Čakať na modul“",
     "Žádný bootloader neodpověděl: zkontrolujte kabel a napájení modulu; kabel bez resetovací "
     "linky potřebuje „Čekat na modul“",
     "Nem válaszolt rendszerbetöltő: ellenőrizze a kábelt és a modul tápellátását; reset vezeték "
     "nélküli kábelhez kell a „Várakozás a modulra”"},
    // DoctorAllWell
    {"Nie znaleziono niczego, co blokuje połączenie", "Nothing was found that stops the connection",
     "Es wurde nichts gefunden, was die Verbindung verhindert",
     "Ничего, что мешает соединению, не найдено", "Nenašlo sa nič, čo bráni spojeniu",
     "Nebylo nalezeno nic, co brání spojení", "Nem található semmi, ami akadályozza a kapcsolatot"},
}};

}  // namespace

std::string_view extraText(Extra line, Language language) {
    return kExtraTexts[static_cast<std::size_t>(line)][static_cast<std::size_t>(language)];
}

std::string fillIn(std::string_view text,
                   const std::vector<std::pair<std::string_view, std::string>>& values) {
    std::string out(text);
    for (const auto& [name, value] : values) {
        std::string mark(1, '{');
        mark.append(name).push_back('}');
        for (auto at = out.find(mark); at != std::string::npos; at = out.find(mark, at)) {
            out.replace(at, mark.size(), value);
            at += value.size();
        }
    }
    return out;
}

}  // namespace canprog
