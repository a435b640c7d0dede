"""Reads what assistive technology sees of a running program through AT-SPI.

  atspi.py tree APP            one line per object: "<depth> <role>|<name>", followed by
                               "<depth> labelled by|<name>" for each label that names it
  atspi.py extents APP NAME [ROLE]
                               prints "x y width height" on the screen of the first object named NAME
                               (and of that role)
  atspi.py announced APP SECS [ROLE]
                               prints every object of APP that shows itself ("object:state-changed:
                               showing") as "shown <role>|<name>", each followed by its children's
                               "<role>|<name>", until one of ROLE (default: notification) with
                               children showed
"""
import sys

import pyatspi
from gi.repository import GLib


def application(name):
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == name:
            return app
    return None


def tree(name):
    app = application(name)
    if app is None:
        return 1

    def walk(node, depth):
        print(f"{depth} {node.getRoleName()}|{node.name}")
        for relation in node.getRelationSet():
            if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
                for i in range(relation.getNTargets()):
                    print(f"{depth} labelled by|{relation.getTarget(i).name}")
        for i in range(node.childCount):
            walk(node.getChildAtIndex(i), depth + 1)

    walk(app, 0)
    return 0


def extents(name, wanted, role=None):
    app = application(name)
    if app is None:
        return 1

    def find(node):
        if node.name == wanted and (role is None or node.getRoleName() == role):
            return node
        for i in range(node.childCount):
            found = find(node.getChildAtIndex(i))
            if found is not None:
                return found
        return None

    node = find(app)
    if node is None:
        return 1
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    print(box.x, box.y, box.width, box.height)
    return 0


def announced(name, seconds, until="notification"):
    seen = []

    def on_event(event):
        if event.detail1 != 1 or event.source is None:
            return
        try:
            if event.source.getApplication().name != name:
                return
            role = event.source.getRoleName()
            lines = [f"shown {role}|{event.source.name}"]
            for i in range(event.source.childCount):
                child = event.source.getChildAtIndex(i)
                lines.append(f"{child.getRoleName()}|{child.name}")
        except Exception:  # the object went away meanwhile
            return
        print("\n".join(lines), flush=True)
        seen.append(lines)
        if role == until and len(lines) > 1:
            pyatspi.Registry.stop()

    def ignore(event):
        pass

    # A screen reader follows names and children too; only then does a program send their changes.
    pyatspi.Registry.registerEventListener(ignore, "object:property-change:accessible-name", "object:children-changed")
    pyatspi.Registry.registerEventListener(on_event, "object:state-changed:showing")
    GLib.timeout_add_seconds(seconds, pyatspi.Registry.stop)
    print("listening", flush=True)
    pyatspi.Registry.start()
    return 0 if seen else 1


if __name__ == "__main__":
    if sys.argv[1] == "tree":
        sys.exit(tree(sys.argv[2]))
    if sys.argv[1] == "extents":
        sys.exit(extents(*sys.argv[2:5]))
    sys.exit(announced(sys.argv[2], int(sys.argv[3]), *sys.argv[4:5]))
