#!/usr/bin/env python3
"""Checks that the program builds against the oldest Qt it supports.

Tavrel builds against Qt 5.5 and later. Qt's own documentation (Debian
package qtbase5-doc, compressed help files in /usr/share/qt5/doc) says for
every class, function and enum since which version it exists. This script
collects what our code uses from Qt:

- the Qt functions our object files call (their undefined symbols), matched
  against the documented overloads by name and parameter types;
- the Qt classes, enum values and global functions our sources name, which
  covers inline functions, templates and enums that leave no symbol;

and reports each one that is newer than the floor and not inside a
`#if QT_VERSION >= QT_VERSION_CHECK(...)` block. Exit status 1 when it
finds any, 2 when the documentation or the build is missing.

Usage: check-qt-floor.py [--floor 5.5] [--docs DIR] BUILD_DIR SOURCE_DIR...
"""

import argparse
import os
import re
import sqlite3
import subprocess
import sys
import zlib
from collections import defaultdict

DOC_MODULES = ("qtcore", "qtgui", "qtwidgets", "qttestlib")
SOURCE_SUFFIXES = (".cpp", ".h")
# Object files of the standalone projects (fuzz, Windows) are not in the
# build folder; everything under it that was compiled from our sources is.
OUR_SYMBOL = re.compile(r"^(Q[A-Za-z0-9_]*|Qt)::")

MARKER = re.compile(r"<!-- \$\$\$(.*?) -->(.*?)<!-- @@@", re.S)
SINCE = re.compile(r"(?:introduced|introduced or modified) in Qt (\d+)\.(\d+)")
SINCE_VALUE = re.compile(r"(?:introduced|added) in Qt (\d+)\.(\d+)")
CLASS_SINCE = re.compile(r"This (?:class|namespace) was introduced in Qt (\d+)\.(\d+)")
TITLE = re.compile(r'<h1 class="title">([A-Za-z0-9_:]+) (?:Class|Namespace)</h1>')
TAG = re.compile(r"<[^>]+>")
GUARD = re.compile(r"#\s*if\s+QT_VERSION\s*>=?\s*QT_VERSION_CHECK\((\d+),\s*(\d+)")


def version(text):
    major, minor = text.split(".")
    return (int(major), int(minor))


def pages(docs):
    """(file name, html) of every page of the Qt modules we link."""
    for module in DOC_MODULES:
        path = os.path.join(docs, module + ".qch")
        if not os.path.exists(path):
            raise FileNotFoundError(path)
        db = sqlite3.connect(path)
        query = ("select f.Name, d.Data from FileNameTable f "
                 "join FileDataTable d on f.FileId = d.Id")
        for name, data in db.execute(query):
            if data is None or not name.endswith(".html"):
                continue
            # Qt's compressed blobs start with the uncompressed size.
            yield name, zlib.decompress(bytes(data)[4:]).decode("utf-8", "replace")


def normalized(param):
    """A parameter type without qualifiers: "QString const&" and
    "const QString &" are both "QString"; a QFlags<> type is its typedef."""
    param = re.sub(r"QFlags<(.+?)Flags?>", r"\1", param)
    param = re.sub(r"\b(const|signed)\b|&", "", param)
    return re.sub(r"\s+", "", param)


def same_types(doc, used):
    return len(doc) == len(used) and all(
        normalized(a) == normalized(b) for a, b in zip(doc, used))


def doc_params(signature):
    """(type, has a default) of each parameter of a documented signature."""
    inside = signature[signature.find("(") + 1:signature.rfind(")")]
    params = []
    for param in filter(None, (p.strip() for p in split_params(inside))):
        declaration, has_default = param.split("=")[0].strip(), "=" in param
        # The last word is the parameter's name when a type precedes it.
        match = re.match(r"(.*\S)\s*\b[A-Za-z_]\w*$", declaration)
        if match and match.group(1).strip() not in ("const", "unsigned", "signed", "long", "short"):
            declaration = match.group(1)
        params.append((declaration.strip(), has_default))
    return params


class Docs:
    def __init__(self, directory):
        self.functions = defaultdict(list)  # Class::name -> [(params, since)]
        self.names = {}  # class, enum value or global name -> since
        for page, html in pages(directory):
            title = TITLE.search(html)
            owner = title.group(1) if title else None
            whole = CLASS_SINCE.search(html)
            if owner and whole:
                self.names[owner] = version(".".join(whole.groups()))
            for marker, body in MARKER.findall(html):
                since = SINCE.search(body)
                since = version(".".join(since.groups())) if since else None
                heading = TAG.sub("", body.split("</h3>")[0]).replace("&amp;", "&")
                heading = heading.replace("&lt;", "<").replace("&gt;", ">")
                if "enum " in heading or "flags " in heading:
                    self.add_enum(owner or "", marker.split("$$$")[1:], body, since)
                    continue
                match = re.search(r"([A-Za-z0-9_]+)::(~?[A-Za-z0-9_]+|operator[^(]*)\(", heading)
                if match:
                    key = f"{match.group(1)}::{match.group(2)}"
                    self.functions[key].append((doc_params(heading), since or (0, 0)))
                elif owner is None and since:
                    # Global functions and macros: "qAsConst(...)".
                    glob = re.search(r"\b(q[A-Z][A-Za-z0-9_]*|Q_[A-Z_]+)\(", heading)
                    if glob:
                        self.names[glob.group(1)] = since

    def add_enum(self, scope, values, body, since):
        # An enum "introduced or modified" in a version may only have gained
        # values then; where the table marks its newer values, the others
        # are as old as the enum's first documentation.
        rows = dict(re.findall(r"<code>(?:[A-Za-z0-9_]+::)*([A-Za-z0-9_]+)</code>.*?</td>"
                               r".*?<td[^>]*>(.*?)</td></tr>", body, re.S))
        marked = {v: SINCE_VALUE.search(rows.get(v, "")) for v in values}
        any_marked = any(marked.values())
        heading = TAG.sub("", body.split("</h3>")[0])
        for kind, name in re.findall(r"(enum|flags) (?:[A-Za-z0-9_]+::)*([A-Za-z0-9_]+)", heading):
            if since and not any_marked:
                self.names[f"{scope}::{name}"] = since
        for value in values:
            if marked[value]:
                self.names[f"{scope}::{value}"] = version(".".join(marked[value].groups()))
            elif not any_marked and since:
                self.names[f"{scope}::{value}"] = since

    def function_since(self, key, params):
        """The version of the overload with these parameter types; None when
        the documentation has no such overload."""
        overloads = self.functions.get(key)
        if not overloads:
            return None
        types = lambda doc: [t for t, _ in doc]
        exact = [since for doc, since in overloads if same_types(types(doc), params)]
        if not exact:
            return None
        return min(exact)


def undefined_symbols(build):
    """Qt functions our object files call: (Class::name, [param types])."""
    objects = []
    for root, _, files in os.walk(build):
        if "CMakeFiles" in root:
            objects += [os.path.join(root, f) for f in files if f.endswith(".o")]
    if not objects:
        raise FileNotFoundError(f"no object files under {build}")
    out = subprocess.run(["nm", "-C", "--undefined-only", *objects],
                         capture_output=True, text=True, check=True).stdout
    found = set()
    for line in out.splitlines():
        symbol = line.strip().removeprefix("U ").strip()
        if not OUR_SYMBOL.match(symbol) or "(" not in symbol:
            continue
        head, _, rest = symbol.partition("(")
        params = rest.rsplit(")", 1)[0]
        parts = head.split("::")
        if len(parts) < 2:
            continue
        found.add((f"{parts[-2]}::{parts[-1]}", tuple(split_params(params))))
    return found


def split_params(params):
    depth, current, out = 0, "", []
    for ch in params:
        if ch == "<":
            depth += 1
        elif ch == ">":
            depth -= 1
        if ch == "," and depth == 0:
            out.append(current.strip())
            current = ""
        else:
            current += ch
    if current.strip():
        out.append(current.strip())
    return out


def source_files(roots):
    for root in roots:
        for directory, _, files in os.walk(root):
            for name in files:
                if name.endswith(SOURCE_SUFFIXES):
                    yield os.path.join(directory, name)


def unguarded_lines(path, floor):
    """(line number, text) of lines not inside a Qt version guard above floor."""
    stack = []
    with open(path, encoding="utf-8", errors="replace") as f:
        for number, line in enumerate(f, 1):
            stripped = line.strip()
            guard = GUARD.match(stripped)
            if guard:
                stack.append(version(".".join(guard.groups())) > floor)
            elif re.match(r"#\s*if", stripped):
                stack.append(False)
            elif re.match(r"#\s*else", stripped) and stack:
                stack[-1] = False
            elif re.match(r"#\s*endif", stripped) and stack:
                stack.pop()
            elif not any(stack):
                yield number, line


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--floor", default="5.5")
    parser.add_argument("--docs", default="/usr/share/qt5/doc")
    parser.add_argument("--allow", default=os.path.join(os.path.dirname(__file__), "qt-floor.allow"))
    parser.add_argument("build")
    parser.add_argument("sources", nargs="+")
    args = parser.parse_args()
    floor = version(args.floor)
    try:
        docs = Docs(args.docs)
        symbols = undefined_symbols(args.build)
    except FileNotFoundError as missing:
        print(f"check-qt-floor: {missing} not found (Qt documentation: Debian package "
              f"qtbase5-doc; build folder: build the program first)", file=sys.stderr)
        return 2

    allowed = read_allowed(args.allow)
    calls = {}  # member name -> [problem] for the Qt functions that are too new
    for key, params in sorted(symbols):
        since = docs.function_since(key, params)
        described = f"{key}({', '.join(params)})"
        if since and since > floor and described not in allowed:
            member = key.split("::")[1]
            calls.setdefault(member, []).append(f"{described}: Qt {since[0]}.{since[1]}")

    problems = []
    token = re.compile(r"\b((?:Q[A-Za-z0-9_]*|Qt)::[A-Za-z0-9_]+|Q[A-Z][A-Za-z0-9_]+"
                       r"|q[A-Z][A-Za-z0-9_]+)\b")
    called_outside_guards = set()
    for path in source_files(args.sources):
        for number, line in unguarded_lines(path, floor):
            for name in sorted(set(token.findall(line))):
                since = docs.names.get(name)
                if since and since > floor and name not in allowed:
                    problems.append(f"{path}:{number}: {name}: Qt {since[0]}.{since[1]}")
            called_outside_guards.update(
                m for m in calls if re.search(rf"\b{re.escape(m)}\s*\(", line))
    # A newer function whose every call sits inside a version guard is fine:
    # the guard's other branch is what an older Qt compiles.
    for member in sorted(called_outside_guards):
        problems += calls[member]

    for problem in problems:
        print(f"newer than Qt {args.floor}: {problem}")
    if problems:
        return 1
    print(f"check-qt-floor: the {len(symbols)} Qt functions our objects call and the Qt "
          f"names in our sources exist in Qt {args.floor}")
    return 0


def read_allowed(path):
    """Uses the documentation cannot settle, one per line before a tab and
    the reason; '#' starts a comment."""
    allowed = set()
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.split("#")[0].rstrip()
            if line:
                allowed.add(line.split("\t")[0].strip())
    return allowed


if __name__ == "__main__":
    sys.exit(main())
