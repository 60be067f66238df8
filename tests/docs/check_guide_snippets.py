#!/usr/bin/env python3
"""Every code block of the guide is quoted from a file that the build
compiles, so the guide cannot drift from the code. Before each block:

    <!-- from examples/mm1_model.cpp#elements -->

and in that file the region between the lines `// [guide:elements]` and
`// [end]` (`#` for CMake), which the block repeats exactly, less the
region's common indentation. Blocks in `sh` are commands, not code, and
need no source.

    check_guide_snippets.py SOURCE_ROOT [GUIDE]
"""
import re
import sys
import textwrap
from pathlib import Path

FROM = re.compile(r"<!-- from (\S+)#([\w-]+) -->")
MARK = re.compile(r"^\s*(?://|#) \[(guide:([\w-]+)|end)\]\s*$")


def region(path, name):
    lines, inside = [], False
    for line in path.read_text().splitlines():
        mark = MARK.match(line)
        if mark and mark.group(2) == name:
            inside = True
        elif mark and inside and mark.group(1) == "end":
            return textwrap.dedent("\n".join(lines)).splitlines()
        elif inside and not mark:
            lines.append(line)
    return None


def main():
    root = Path(sys.argv[1])
    guide = Path(sys.argv[2]) if len(sys.argv) > 2 else root / "docs" / "guide.md"
    lines = guide.read_text().splitlines()
    problems, source, blocks = [], None, 0
    i = 0
    while i < len(lines):
        line = lines[i]
        quoted = FROM.fullmatch(line.strip())
        if quoted:
            source = (quoted.group(1), quoted.group(2), i + 1)
        elif line.startswith("```") and len(line) > 3:
            language, start = line[3:].strip(), i + 1
            end = start
            while end < len(lines) and lines[end] != "```":
                end += 1
            block = lines[start:end]
            if language != "sh":
                blocks += 1
                if source is None or source[2] != i:
                    problems.append(f"{guide.name}:{i + 1}: a {language} block without its source just above it")
                else:
                    file, name, _ = source
                    if not (root / file).is_file():
                        problems.append(f"{guide.name}:{i + 1}: {file} does not exist")
                    else:
                        wanted = region(root / file, name)
                        if wanted is None:
                            problems.append(f"{guide.name}:{i + 1}: {file} has no region [guide:{name}] ... [end]")
                        elif wanted != block:
                            diff = next((k for k in range(max(len(block), len(wanted)))
                                         if k >= len(block) or k >= len(wanted) or block[k] != wanted[k]), 0)
                            problems.append(f"{guide.name}:{start + diff + 1}: differs from {file}#{name} "
                                            f"line {diff + 1} of the region")
            source = None
            i = end
        i += 1
    if blocks == 0:
        problems.append(f"{guide.name}: no quoted code at all")
    for problem in problems:
        print("guide:", problem)
    if not problems:
        print(f"guide: {blocks} blocks as their files have them")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
