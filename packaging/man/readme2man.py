#!/usr/bin/env python3
"""Builds a manual page from sections of the README, so the reference text is
written once. Usage:

  readme2man.py README.md OUT.1 --name tavin-cli --summary TEXT --version V
                [--synopsis LINE]... --section HEADING [--section HEADING]...
                [--see-also PAGE]...

Each --section names a "## " heading of the README; its text up to the next
"## " heading becomes a section of the page. The Markdown the README uses is
understood: paragraphs, "- " lists, tables, fenced code, `code`, **bold**,
[links](...) and pictures (left out).
"""
import argparse
import os
import re
import sys


def escape(text):
    """Plain text as roff: backslashes and a leading dot or quote made harmless."""
    text = text.replace('\\', '\\e')
    return text


def inline(text):
    """Inline Markdown to roff fonts."""
    text = re.sub(r'!\[[^\]]*\]\([^)]*\)', '', text)            # pictures
    text = re.sub(r'\[([^\]]+)\]\([^)]*\)', r'\1', text)         # links: their text
    out = []
    for i, part in enumerate(re.split(r'`([^`]*)`', text)):
        if i % 2:
            out.append('\\fB' + escape(part).replace('-', '\\-') + '\\fR')
        else:
            part = escape(part)
            part = re.sub(r'\*\*([^*]+)\*\*', r'\\fB\1\\fR', part)
            part = re.sub(r'(?<![*\w])\*([^*\s][^*]*)\*(?![*\w])', r'\\fI\1\\fR', part)
            out.append(part)
    return ''.join(out)


def line(text):
    """One output text line; a line must not start with a control character."""
    text = text.strip()
    if text.startswith(('.', "'")):
        text = '\\&' + text
    return text


def table_cells(row):
    # A "\\|" inside a cell is a pipe character, not a cell border.
    cells = re.split(r'(?<!\\)\|', row.strip()[1:-1] if row.strip().endswith('|') else row.strip()[1:])
    return [c.strip().replace('\\|', '|') for c in cells]


def convert_section(lines):
    """Markdown lines of one section to roff lines."""
    out = []
    paragraph = []
    i = 0

    def flush():
        if paragraph:
            out.append('.PP')
            out.extend(line(inline(p)) for p in paragraph)
            paragraph.clear()

    while i < len(lines):
        text = lines[i]
        stripped = text.strip()
        if stripped.startswith('```'):
            flush()
            out.append('.PP')
            out.append('.nf')
            out.append('.RS 4')
            i += 1
            while i < len(lines) and not lines[i].strip().startswith('```'):
                out.append(line(escape(lines[i].rstrip()).replace('-', '\\-')) or '\\&')
                i += 1
            out.append('.RE')
            out.append('.fi')
            i += 1
            continue
        if stripped.startswith('### '):
            flush()
            out.append('.SS ' + inline(stripped[4:]))
        elif stripped.startswith('|'):
            flush()
            rows = []
            while i < len(lines) and lines[i].strip().startswith('|'):
                rows.append(table_cells(lines[i]))
                i += 1
            body = [r for r in rows[1:] if not all(re.fullmatch(r':?-+:?', c) for c in r)]
            for r in body:
                out.append('.TP')
                out.append(line(inline(r[0])))
                rest = [inline(c) for c in r[1:] if c]
                out.append(line(' \\(em '.join(rest)) or '\\&')
            continue
        elif stripped.startswith('- '):
            flush()
            item = [stripped[2:]]
            i += 1
            while i < len(lines) and lines[i].startswith('  ') and lines[i].strip() and not lines[i].strip().startswith('- '):
                item.append(lines[i].strip())
                i += 1
            out.append('.IP \\(bu 2')
            out.extend(line(inline(p)) for p in item)
            continue
        elif not stripped:
            flush()
        elif stripped.startswith('!['):
            pass
        else:
            paragraph.append(stripped)
        i += 1
    flush()
    return out


def sections_of(readme):
    found = {}
    name = None
    for text in readme.splitlines():
        if text.startswith('## '):
            name = text[3:].strip()
            found[name] = []
        elif name is not None:
            found[name].append(text)
    return found


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('readme')
    parser.add_argument('output')
    parser.add_argument('--name', required=True)
    parser.add_argument('--summary', required=True)
    parser.add_argument('--version', required=True)
    parser.add_argument('--synopsis', action='append', default=[])
    parser.add_argument('--section', action='append', default=[])
    parser.add_argument('--see-also', action='append', default=[])
    args = parser.parse_args()

    with open(args.readme, encoding='utf-8') as f:
        sections = sections_of(f.read())
    page = [
        '.\\" Made from the README by readme2man.py; edit the README, not this file.',
        '.TH %s 1 "" "Tavin %s" "User Commands"' % (args.name.upper(), args.version),
        '.SH NAME',
        '%s \\- %s' % (args.name.replace('-', '\\-'), escape(args.summary)),
    ]
    if args.synopsis:
        page.append('.SH SYNOPSIS')
        for i, s in enumerate(args.synopsis):
            if i:
                page.append('.br')
            page.append(line(inline(s)))
    for heading in args.section:
        if heading not in sections:
            sys.exit('readme2man.py: the README has no section "## %s"' % heading)
        page.append('.SH ' + inline(heading.upper()))
        page.extend(convert_section(sections[heading]))
    if args.see_also:
        page.append('.SH SEE ALSO')
        page.append(', '.join('\\fB%s\\fR(1)' % p.replace('-', '\\-') for p in args.see_also))
    os.makedirs(os.path.dirname(os.path.abspath(args.output)), exist_ok=True)
    with open(args.output, 'w', encoding='utf-8') as f:
        f.write('\n'.join(page) + '\n')


if __name__ == '__main__':
    main()
