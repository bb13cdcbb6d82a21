#!/usr/bin/python3
"""Walks the programming program's accessibility tree through AT-SPI, as a
screen reader sees it, with the channel grid, the channel editor and the
function windows open, and fails on any control a user can focus or press
that has no name.

    atspi-names.py LANGUAGE_FILE

LANGUAGE_FILE is the language file of the running program; the windows are
opened by choosing their menu items (found by the texts of that file).
Exit status 0: every such control is named; 1: some are not (listed);
2: the program did not appear on the accessibility bus.
"""
import configparser
import sys
import time

import pyatspi

PROGRAM = "ZTP958FM"
# Edit menu: Channel information, Channel editor, Optional features, Reset mode,
# Tone tips, DTMF, Embedded message.
WINDOW_ITEMS = [10201, 34600, 10202, 10222, 10221, 10204, 10206]


def menu_texts(language_file):
    ini = configparser.ConfigParser(interpolation=None, strict=False)
    ini.optionxform = str
    ini.read(language_file, encoding="utf-8")
    texts = {}
    for section in ini.sections():
        for key, value in ini.items(section):
            if key.isdigit():
                texts[int(key)] = value.strip()
    # The name a screen reader reads is the caption without its mnemonic marker.
    return {i: texts[i].replace("&", "") for i in WINDOW_ITEMS if i in texts}


def find_program(seconds=30):
    desktop = pyatspi.Registry.getDesktop(0)
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name == PROGRAM and app.childCount > 0:
                return app
        time.sleep(0.1)
    return None


def children(node):
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield child


def menu_items(app):
    found = []
    stack = [app]
    while stack:
        node = stack.pop()
        if node.getRole() == pyatspi.ROLE_MENU_ITEM:
            found.append(node)
        stack.extend(children(node))
    return found


def named_frames(app):
    titles = []
    stack = [app]
    while stack:
        node = stack.pop()
        if node.getRole() == pyatspi.ROLE_FRAME:
            if node.name:
                titles.append(node.name)
        elif node.getRole() not in (pyatspi.ROLE_APPLICATION, pyatspi.ROLE_FILLER,
                                    pyatspi.ROLE_LAYERED_PANE):
            continue  # child windows sit in the window area, not inside controls
        stack.extend(children(node))
    return titles


def action_names(node):
    try:
        action = node.queryAction()
    except NotImplementedError:
        return []
    return [action.getName(i) for i in range(action.nActions)]


def where(node):
    path = []
    while node is not None and node.getRole() != pyatspi.ROLE_APPLICATION:
        path.append(f"{node.getRoleName()}" + (f" '{node.name}'" if node.name else ""))
        node = node.parent
    return " < ".join(path)


def unnamed_controls(app):
    """Every shown control that takes the focus or offers an action but has no name.
    Hidden ones are passed over; a covered child window counts as shown."""
    unnamed, checked = [], 0
    stack = [app]
    while stack:
        node = stack.pop()
        states = node.getState()
        # A child window's frame may say it is not visible while its contents are.
        if not states.contains(pyatspi.STATE_VISIBLE):
            if node.getRole() == pyatspi.ROLE_FRAME:
                stack.extend(children(node))
            continue
        stack.extend(children(node))
        actions = action_names(node)
        if not (states.contains(pyatspi.STATE_FOCUSABLE) or actions):
            continue
        checked += 1
        if not (node.name or "").strip():
            unnamed.append(f"{where(node)} (actions: {', '.join(actions) or 'none'})")
    return unnamed, checked


def main():
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    texts = menu_texts(sys.argv[1])
    app = find_program()
    if app is None:
        print(f"atspi-names: {PROGRAM} did not appear on the accessibility bus")
        return 2
    items = menu_items(app)
    missing = []
    for item_id in WINDOW_ITEMS:
        wanted = texts.get(item_id)
        chosen = [i for i in items if wanted and i.name == wanted]
        if not chosen:
            missing.append(f"{item_id} ({wanted})")
            continue
        chosen[0].queryAction().doAction(0)
    # Every chosen window must be open before the walk: the main window and one
    # frame for each of them.
    wanted = 1 + len(WINDOW_ITEMS) - len(missing)
    end = time.monotonic() + 20
    while True:
        titles = named_frames(app)
        if len(titles) >= wanted or time.monotonic() > end:
            break
        time.sleep(0.2)
    if len(titles) < wanted:
        print(f"atspi-names: {len(titles)} windows open, {wanted} wanted: {titles}")
        return 1
    unnamed, checked = unnamed_controls(app)
    print(f"atspi-names: {checked} focusable or actionable elements checked in {titles}")
    for m in missing:
        print(f"atspi-names: no menu item {m}")
    for u in unnamed:
        print(f"atspi-names: no name: {u}")
    # The windows above hold well over a hundred controls: fewer means the tree
    # was not walked (the bridge gave up, a window did not open).
    if checked < 100:
        print("atspi-names: too few controls seen; the tree was not walked")
        return 1
    return 1 if unnamed or missing else 0


if __name__ == "__main__":
    sys.exit(main())
