"""Drives the canprog window over AT-SPI as a screen reader does: finds controls by their role
and accessible name, presses and toggles them by their actions, reads the status line's text.
Argument: the simulated module's EEPROM file, which it saves whenever the module writes it."""
import sys
import time

import pyatspi

EEPROM = sys.argv[1]


def wait_for(condition, what, seconds=30):
    deadline = time.time() + seconds
    while time.time() < deadline:
        try:
            found = condition()
        except Exception:  # the tree changes while it is searched
            found = None
        if found:
            return found
        time.sleep(0.1)
    sys.exit("no " + what)


def window():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "canprog":
            return app
    return None


def find(root, role, name):
    return pyatspi.findDescendant(
        root, lambda node: node is not None and node.getRole() == role and node.name == name)


def act(node, names):
    action = node.queryAction()
    for i in range(action.nActions):
        if action.getName(i) in names:
            action.doAction(i)
            return
    sys.exit("%s has none of the actions %s" % (node.name, names))


def checked(node):
    return node.getState().contains(pyatspi.STATE_CHECKED)


def status(app):
    node = find(app, pyatspi.ROLE_TEXT, "Status")
    text = node.queryText()
    return text.getText(0, text.characterCount)


app = wait_for(window, "canprog on the accessibility bus")
tab = wait_for(lambda: find(app, pyatspi.ROLE_PAGE_TAB, "Operation parameters"), "parameters tab")
act(tab, ["Press", "Switch", "Click"])

act(wait_for(lambda: find(app, pyatspi.ROLE_PUSH_BUTTON, "Reading"), "Reading"), ["Press"])
wait_for(lambda: status(app).startswith("Finished"), "read finished")

# The demo module: sound off, FS boxes clear. The changes go through the actions only.
sound_on = find(app, pyatspi.ROLE_RADIO_BUTTON, "Sound on")
fs2 = find(app, pyatspi.ROLE_CHECK_BOX, "FS2 (arming/disarming)")
if sound_on is None or fs2 is None:
    sys.exit("no radio button 'Sound on' or check box 'FS2 (arming/disarming)'")
act(sound_on, ["Toggle", "Press"])
act(fs2, ["Toggle"])
wait_for(lambda: checked(sound_on) and checked(fs2), "the window showing the changes")
sound_off = find(app, pyatspi.ROLE_RADIO_BUTTON, "Sound off")
if checked(sound_off):
    sys.exit("both 'Sound off' and 'Sound on' are checked")

act(find(app, pyatspi.ROLE_PUSH_BUTTON, "Saving"), ["Press"])
wait_for(lambda: "Finished" in status(app), "write finished", seconds=60)


def written():
    with open(EEPROM, "rb") as f:
        eeprom = f.read()
    # Sound on: bit 0 of 0x21 clear; FS2: bit 3 of 0x61 set.
    return len(eeprom) == 256 and eeprom[0x21] & 0x01 == 0 and eeprom[0x61] & 0x08 == 0x08


wait_for(written, "the module holding what the window shows")
print("the module holds what the window shows: sound on, FS2 set")
