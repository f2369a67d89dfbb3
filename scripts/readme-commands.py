#!/usr/bin/env python3
"""Writes README.md's list of menu commands from tests/data/frontend/commands.txt (the output of
`pasarela-cli commands`, which a test keeps equal to the command table). With --check it only
tells whether README.md is up to date (exit 1 when it is not)."""
import pathlib
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
BEGIN = "<!-- commands: made by scripts/readme-commands.py -->"
END = "<!-- /commands -->"


def table():
    rows = ["| Orden | Menú | Entrada |", "| --- | --- | --- |"]
    for line in (ROOT / "tests/data/frontend/commands.txt").read_text(encoding="utf-8").splitlines():
        control, rest = line[:36].strip(), line[37:]
        menu, caption = rest[:28].strip(), rest[29:].strip()
        rows.append(f"| `{control}` | {menu} | {caption} |")
    return "\n".join(rows)


def main():
    readme_path = ROOT / "README.md"
    readme = readme_path.read_text(encoding="utf-8")
    start, end = readme.find(BEGIN), readme.find(END)
    if start < 0 or end < start:
        print(f"README.md has no block {BEGIN} ... {END}", file=sys.stderr)
        return 1
    updated = readme[: start + len(BEGIN)] + "\n" + table() + "\n" + readme[end:]
    if "--check" in sys.argv[1:]:
        if updated != readme:
            print("README.md's command list is not the one of tests/data/frontend/commands.txt:"
                  " run scripts/readme-commands.py", file=sys.stderr)
            return 1
        return 0
    readme_path.write_text(updated, encoding="utf-8")
    return 0


if __name__ == "__main__":
    sys.exit(main())
