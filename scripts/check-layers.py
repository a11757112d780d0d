#!/usr/bin/env python3
"""Fails when an include runs from a lower layer of the program to a higher one.

Each top-level folder is one layer; a folder may include its own headers and those of the
layers below it, never those of its own layer's other folders or of a layer above. The logic
layers and the engine never include Qt. The engine has one door: only the folders in
ENGINE_USERS include it. Inside the engine, the groups of jet/src/ stand in one line, each
including only itself and the groups below it. Prints the layers as they stand and each
include out of place; exits 1 when there is one.
"""
import pathlib
import re
import sys

# From the bottom up; folders on one line share a layer and must not include each other.
LAYERS = [
    ["text"],
    ["jet"],
    ["store"],
    ["lookup", "update"],
    ["ui", "tools"],
    ["viewer", "weblinks", "update_dialog"],
    ["app"],
    ["bench"],
]
WITHOUT_QT = {"text", "jet", "store", "lookup", "update", "tools"}
ENGINE_USERS = {"jet", "store", "tools", "bench"}
# The engine's groups, from the bottom up: the file and its pages, Office encryption, reading,
# index keys, the integrity check, writing (which may check a file before it changes it).
ENGINE_GROUPS = ["file", "crypto", "read", "keys", "check", "write"]
# The one folder that may include the cryptography library.
CRYPTO_FOLDER = ("jet", "src", "crypto")
SOURCES = {".cpp", ".h", ".hpp", ".cc"}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.MULTILINE)
QT_HEADER = re.compile(r"^Q[A-Za-z]+$|^Qt[A-Za-z]*/")


def engine_group_fault(relative: pathlib.PurePath, name: str):
    """The fault of an include between the engine's groups that runs up the line, if any."""
    parts = relative.parts
    if parts[:2] != ("jet", "src") or len(parts) < 4 or parts[2] not in ENGINE_GROUPS:
        return None
    group, included = parts[2], name.split("/")[0]
    if included not in ENGINE_GROUPS:
        return None
    if ENGINE_GROUPS.index(included) > ENGINE_GROUPS.index(group):
        return (f"{relative}: engine group {group} includes {name} ({included}, above it in "
                f"{' <- '.join(ENGINE_GROUPS)})")
    return None


def main() -> int:
    root = pathlib.Path(__file__).resolve().parent.parent
    level = {folder: n for n, floor in enumerate(LAYERS) for folder in floor}
    faults = []
    counts = {}
    names_in = {}  # folder -> the file names it holds, for includes written without a folder
    for path in root.rglob("*"):
        parts = path.relative_to(root).parts
        if path.suffix in SOURCES and parts[0] in level:
            names_in.setdefault(parts[0], set()).add(path.name)
    for path in sorted(root.rglob("*")):
        relative = path.relative_to(root)
        if path.suffix not in SOURCES or relative.parts[0] not in level:
            continue
        here = relative.parts[0]
        counts[here] = counts.get(here, 0) + 1
        for bracket, name in INCLUDE.findall(path.read_text(errors="replace")):
            first = name.split("/")[0]
            if bracket == "<" and QT_HEADER.match(name) and here in WITHOUT_QT:
                faults.append(f"{relative}: includes Qt ({name}), below the windows")
            if name.startswith("openssl/") and relative.parts[:3] != CRYPTO_FOLDER:
                faults.append(f"{relative}: includes {name}; only jet/src/crypto/ may")
            if bracket != '"':
                continue
            if first == "jet" and here not in ENGINE_USERS:
                faults.append(f"{relative}: includes the engine ({name}); only "
                              f"{', '.join(sorted(ENGINE_USERS - {'jet'}))} may")
            group_fault = engine_group_fault(relative, name)
            if group_fault:
                faults.append(group_fault)
            if "/" not in name:
                if name not in names_in[here]:
                    faults.append(f"{relative}: includes {name}, which is not in {here}/")
                continue
            if first == "tests" or "tests/" in name:
                faults.append(f"{relative}: includes test code ({name})")
                continue
            if first not in level or first == here:
                continue
            if level[first] >= level[here]:
                faults.append(f"{relative}: {here} (layer {level[here]}) includes {name} "
                              f"({first}, layer {level[first]})")
    for n, floor in reversed(list(enumerate(LAYERS))):
        present = [f"{folder} ({counts[folder]} files)" for folder in floor if folder in counts]
        if present:
            print(f"layer {n}: " + ", ".join(present))
    for fault in faults:
        print(fault, file=sys.stderr)
    print(f"check-layers: {len(faults)} include(s) out of place")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
