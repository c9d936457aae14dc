#!/usr/bin/python3
"""Reads the program's accessibility tree over AT-SPI, the way a screen reader
or another assistive tool sees it, and acts on it.

    atspi_tree.py bus                  starts the session's accessibility bus, as a desktop login does
    atspi_tree.py dump                 one line a node: role, name, actions, states, value, text
    atspi_tree.py wait SECONDS         waits until the program's window is in the tree
    atspi_tree.py role ROLE NAME...    every NAME is a node of that role name ("push button")
    atspi_tree.py press NAME           runs the "Press" action of the node called NAME
    atspi_tree.py showing NAME yes|no  whether the node called NAME is showing
    atspi_tree.py focused NAME         the node called NAME has the keyboard focus

Exit status 0 when the check holds, 1 with a message when it does not. The
browser's page content is left out: it is the web engine's tree, not ours.
"""
import sys
import time

import pyatspi

# Below these roles lies the web engine's view of the page.
PAGE_ROLES = {"document web", "document frame"}
STATES = [
    (pyatspi.STATE_SHOWING, "showing"),
    (pyatspi.STATE_FOCUSABLE, "focusable"),
    (pyatspi.STATE_FOCUSED, "focused"),
    (pyatspi.STATE_PRESSED, "pressed"),
    (pyatspi.STATE_SENSITIVE, "sensitive"),
]


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.childCount > 0:
            return app
    return None


def walk(node, depth=0):
    yield node, depth
    try:
        role = node.getRoleName()
    except Exception:
        return
    if role in PAGE_ROLES:
        return
    for child in node:
        if child is not None:
            yield from walk(child, depth + 1)


def actions(node):
    try:
        action = node.queryAction()
    except NotImplementedError:
        return []
    return [action.getName(i) for i in range(action.nActions)]


def describe(node):
    parts = [node.getRoleName(), repr(node.name)]
    names = actions(node)
    if names:
        parts.append("actions=" + ",".join(names))
    states = node.getState()
    parts.append("[" + " ".join(label for state, label in STATES if states.contains(state)) + "]")
    try:
        value = node.queryValue()
        parts.append("value=%g range=%g..%g" % (value.currentValue, value.minimumValue, value.maximumValue))
    except NotImplementedError:
        pass
    try:
        text = node.queryText()
        parts.append("text=%r" % text.getText(0, -1))
    except NotImplementedError:
        pass
    return " ".join(parts)


def nodes_named(name):
    app = application()
    if app is None:
        return []
    return [node for node, _ in walk(app) if node.name == name]


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def main(argv):
    command = argv[1] if len(argv) > 1 else "dump"
    if command == "bus":
        # Asking the registry for the desktop starts the bus launcher and the
        # registry through the session bus; a program started later finds them.
        pyatspi.Registry.getDesktop(0)
    elif command == "dump":
        app = application()
        if app is None:
            fail("no application in the accessibility tree")
        for node, depth in walk(app):
            print("  " * depth + describe(node))
    elif command == "wait":
        deadline = time.monotonic() + float(argv[2])
        while time.monotonic() < deadline:
            app = application()
            if app is not None and any(node.getRoleName() == "push button" for node, _ in walk(app)):
                return
            time.sleep(0.25)
        fail("the program's buttons did not appear in the accessibility tree")
    elif command == "role":
        role = argv[2]
        for name in argv[3:]:
            found = nodes_named(name)
            if not found:
                fail("no node called %r" % name)
            roles = sorted({node.getRoleName() for node in found})
            if role not in roles:
                fail("%r is %s, expected %s" % (name, "/".join(roles), role))
    elif command == "press":
        found = [node for node in nodes_named(argv[2]) if "Press" in actions(node)]
        if not found:
            fail("no node called %r with a Press action" % argv[2])
        if not found[0].queryAction().doAction(actions(found[0]).index("Press")):
            fail("the Press action of %r reported failure" % argv[2])
    elif command == "showing":
        found = nodes_named(argv[2])
        if not found:
            fail("no node called %r" % argv[2])
        showing = any(node.getState().contains(pyatspi.STATE_SHOWING) for node in found)
        if showing != (argv[3] == "yes"):
            fail("%r is %s" % (argv[2], "showing" if showing else "not showing"))
    elif command == "focused":
        # The focus moves as the program handles the key, a moment after it was sent.
        deadline = time.monotonic() + 10
        while not any(node.getState().contains(pyatspi.STATE_FOCUSED) for node in nodes_named(argv[2])):
            if time.monotonic() > deadline:
                fail("%r does not have the focus" % argv[2])
            time.sleep(0.1)
    else:
        fail("unknown command %r" % command)


if __name__ == "__main__":
    main(sys.argv)
