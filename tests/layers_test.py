#!/usr/bin/env python3
"""The folders are layers: each module's includes name exactly the modules
its CMake target links, and no module includes one above it. Run by ctest;
prints every offending include and exits 1."""
import os
import re
import sys

root = os.environ.get("VTC_SOURCE") or os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
cmake = open(os.path.join(root, "CMakeLists.txt"), encoding="utf-8").read()

# vtc_module(target folder-or-header dep dep ...)
modules = {}  # folder or header -> (target, set of target deps)
for target, folder, deps in re.findall(r"^vtc_module\((\S+) (\S+)((?: \S+)*)\)", cmake, re.M):
    modules[folder] = (target, {d for d in deps.split() if not d.startswith("$")})
by_target = {t: f for f, (t, _) in modules.items()}


def module_of(inc):
    """The module an include names: a header that is a module of its own,
    or else the deepest folder module holding it."""
    if inc in modules:
        return inc
    path = os.path.dirname(inc)
    best = None
    for folder in modules:
        if path == folder or path.startswith(folder + "/"):
            if best is None or len(folder) > len(best):
                best = folder
    return best


def sources(folder):
    """(name, path) of the files a module holds; a header that is a module
    of its own is not its folder's."""
    path = os.path.join(root, folder)
    if os.path.isfile(path):
        return [(folder, path)]
    return [(f"{folder}/{n}", os.path.join(path, n)) for n in sorted(os.listdir(path))
            if n.endswith((".h", ".cpp")) and f"{folder}/{n}" not in modules]


errors = []
for folder, (target, deps) in sorted(modules.items()):
    used = set()
    for name, path in sources(folder):
        text = open(path, encoding="utf-8").read()
        for inc in re.findall(r'^\s*#\s*include\s+"([^"]+)"', text, re.M):
            other = module_of(inc)
            if other is None or other == folder:
                continue
            used.add(modules[other][0])
            if modules[other][0] not in deps:
                errors.append(f"{name} includes {inc}, but {target} does not link {modules[other][0]}")
    for d in sorted(deps - used):
        errors.append(f"{target} links {d}, but nothing in {folder}/ includes it")

# The edges must point one way: a cycle means some module reaches up.
state = {}


def visit(target, trail):
    if state.get(target) == "done":
        return
    if state.get(target) == "open":
        errors.append("cycle: " + " -> ".join(trail + [target]))
        return
    state[target] = "open"
    for d in sorted(modules[by_target[target]][1]):
        if d in by_target:
            visit(d, trail + [target])
    state[target] = "done"


for t in sorted(by_target):
    visit(t, [])

for e in errors:
    print(e)
print(f"layers: {len(modules)} modules, {len(errors)} problems")
sys.exit(1 if errors else 0)
