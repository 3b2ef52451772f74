#!/usr/bin/python3
"""The main window as a screen reader reads it through the accessibility bus.

Starts a session bus of its own, the accessibility bus on it and the player
(argument 1) on the X server of DISPLAY (Qt's offscreen platform has no bridge
to the bus) with a catalogue of two playlists, then reads every control's role,
name and description, the sliders' values and the lists' rows over AT-SPI.
Exits non-zero, saying which control, when any of them differs.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

# Role, name and description of each control, in template (tab) order.
EXPECTED = [
    ("push button", "Пауза", ""),
    ("text", "Состояние", "Играю, пауза или остановлено"),
    ("push button", "Открыть", ""),
    ("push button", "Играть", ""),
    ("push button", "Стоп", ""),
    ("slider", "Позиция", "Место в треке, в процентах"),
    ("text", "Уровень, средние частоты", "Индикатор уровня, вторая полоса"),
    ("text", "Уровень, низкие частоты", "Индикатор уровня, первая полоса"),
    ("text", "Уровень, высокие частоты", "Индикатор уровня, третья полоса"),
    ("list", "Треки", "Треки выбранного плейлиста"),
    ("list", "Плейлисты", "Список плейлистов"),
    ("push button", "Создать", ""),
    ("slider", "Громкость", "Вверху громко, внизу тихо"),
    ("label", "громк.", ""),
    ("label", "тихо", ""),
    ("push button", "Удалить", "Удалить выбранный плейлист"),
    ("push button", "Добавить", ""),
    ("push button", "Удалить все", ""),
    ("push button", "Удалить", "Удалить выбранный трек"),
    ("push button", "Сохранить", ""),
]
ROWS = {"Треки": ["one", "two"], "Плейлисты": ["Rock", "Jazz"]}
WAIT_SECONDS = 20


def start_bus(env):
    daemon = subprocess.Popen(
        ["dbus-daemon", "--session", "--nofork", "--nopidfile", "--print-address=1"],
        stdout=subprocess.PIPE, env=env, text=True)
    return daemon, daemon.stdout.readline().strip()


def make_player_folder(root, player):
    """A portable folder: the player with its pl folder beside it."""
    shutil.copy(player, os.path.join(root, "lirvan1"))
    pl = os.path.join(root, "pl")
    os.mkdir(pl)
    rock, jazz = os.path.join(pl, "Rock.plt"), os.path.join(pl, "Jazz.plt")
    with open(os.path.join(pl, "PLT.plt"), "wb") as f:
        f.write(f"{rock}*Rock\r\n{jazz}*Jazz\r\n".encode())
    with open(rock, "wb") as f:
        f.write(b"/music/one.mp3\r\n/music/two.mp3\r\n")
    with open(jazz, "wb") as f:
        f.write(b"/music/three.mp3\r\n")
    return os.path.join(root, "lirvan1")


def find_window(pyatspi):
    deadline = time.monotonic() + WAIT_SECONDS
    while time.monotonic() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is None or app.name != "ru.lirvan.Lirvan1":
                continue
            for window in app:
                if window is not None and window.childCount >= len(EXPECTED):
                    return window
        time.sleep(0.2)
    return None


def check(window, pyatspi):
    faults = []
    # Group boxes frame the buttons; they are not controls a reader stops at.
    controls = [c for c in window if c.getRoleName() not in ("panel", "filler")]
    seen = [(c.getRoleName(), c.name, c.description) for c in controls]
    if seen != EXPECTED:
        faults.append("controls differ:\n  seen     %s\n  expected %s" % (seen, EXPECTED))
    for control in controls:
        if not control.name:
            faults.append("a %s has no name" % control.getRoleName())
        if control.getRoleName() == "slider":
            value = control.queryValue()
            if (value.minimumValue, value.maximumValue, value.currentValue) != (0, 100, 0):
                faults.append("%s: value %s in %s..%s" % (control.name, value.currentValue,
                                                          value.minimumValue, value.maximumValue))
        if control.name in ROWS:
            rows = [row.name for row in control if row is not None and row.getRoleName() == "list item"]
            if rows != ROWS[control.name]:
                faults.append("%s: rows %s, expected %s" % (control.name, rows, ROWS[control.name]))
    return faults


def main():
    root = tempfile.mkdtemp(prefix="lirvan-a11y-")
    env = dict(os.environ)
    runtime = os.path.join(root, "run")
    os.mkdir(runtime, 0o700)
    env.update(HOME=root, XDG_RUNTIME_DIR=runtime, XDG_DATA_HOME=os.path.join(root, "data"),
               QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    env.pop("AT_SPI_BUS_ADDRESS", None)
    daemon, address = start_bus(env)
    processes = [daemon]
    try:
        if not address:
            print("no dbus-daemon")
            return 1
        env["DBUS_SESSION_BUS_ADDRESS"] = address
        processes.append(subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                                          env=env))
        player = make_player_folder(root, sys.argv[1])
        processes.append(subprocess.Popen([player], env=env))
        os.environ.clear()
        os.environ.update(env)
        import pyatspi  # reads the session bus from the environment when imported

        window = find_window(pyatspi)
        if window is None:
            print("the player's window never reached the accessibility bus")
            return 1
        faults = check(window, pyatspi)
        for fault in faults:
            print(fault)
        return 1 if faults else 0
    finally:
        for process in reversed(processes):
            process.terminate()
            try:
                process.wait(5)
            except subprocess.TimeoutExpired:
                process.kill()
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
