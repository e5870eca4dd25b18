#!/usr/bin/env python3
"""preset_tree.py ROOT PRESET: the configure preset's build tree, relative to ROOT, as ROOT's
CMakePresets.json gives it (binaryDir, from the preset or the ones it inherits)."""
import json
import os
import sys

root, name = sys.argv[1:]
with open(os.path.join(root, "CMakePresets.json"), encoding="utf-8") as file:
    presets = {preset["name"]: preset for preset in json.load(file)["configurePresets"]}


def binary_dir(name):
    preset = presets[name]
    if "binaryDir" in preset:
        return preset["binaryDir"]
    parents = preset.get("inherits", [])
    for parent in [parents] if isinstance(parents, str) else parents:
        found = binary_dir(parent)
        if found:
            return found
    return None


if name not in presets or not binary_dir(name):
    sys.exit(f"preset_tree: CMakePresets.json has no configure preset {name} with a binaryDir")
tree = binary_dir(name).replace("${sourceDir}", root).replace("${presetName}", name)
print(os.path.relpath(tree, root))
