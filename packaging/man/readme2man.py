#!/usr/bin/env python3
"""Builds a manual page from sections of the README, so the reference text is
written once. Usage:

  readme2man.py README.md OUT.1 --name tavin-cli --summary TEXT --version V
                [--synopsis LINE]... [--description] --section HEADING
                [--section HEADING]... [--see-also PAGE]...

The page has the usual sections of a manual page: NAME, SYNOPSIS, with
--description a DESCRIPTION made of the README's opening paragraphs, then
one section per --section, which names a "## " heading of the README (its
text up to the next "## " heading), and SEE ALSO. The Markdown the README
uses is understood: paragraphs, "- " and numbered lists (with text and code
indented under an item), tables (as tagged paragraphs), fenced code, `code`,
**bold**, *italics*, [links](...) and pictures (left out).
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


def code_line(text):
    """A line of a code block, its indentation kept."""
    text = escape(text.rstrip()).replace('-', '\\-')
    if not text.strip():
        return '\\&'
    if text.startswith(('.', "'")):
        text = '\\&' + text
    return text


def table_cells(row):
    # A "\\|" inside a cell is a pipe character, not a cell border.
    cells = re.split(r'(?<!\\)\|', row.strip()[1:-1] if row.strip().endswith('|') else row.strip()[1:])
    return [c.strip().replace('\\|', '|') for c in cells]


BULLET = re.compile(r'^- ')
NUMBERED = re.compile(r'^(\d+)\. ')


def indent_of(text):
    return len(text) - len(text.lstrip(' '))


def convert_section(lines):
    """Markdown lines of one section to roff lines. Text that Markdown wraps
    over several lines is joined first, so that `code` and **bold** may span
    a line end; text indented under a list item stays in that item."""
    out = []
    i = 0
    in_item = False  # the last block was a list item: indented text continues it
    item_indent = 2  # the indentation of that item's text, in ens

    def text_block(start):
        """The lines of one paragraph (or list item) from start: up to an
        empty line, a fence, a table or another item."""
        block = [lines[start].strip()]
        k = start + 1
        while k < len(lines):
            nxt = lines[k].strip()
            if (not nxt or nxt.startswith(('```', '|', '### ')) or BULLET.match(nxt)
                    or (NUMBERED.match(nxt) and indent_of(lines[k]) == 0)):
                break
            block.append(nxt)
            k += 1
        return ' '.join(block), k

    while i < len(lines):
        raw = lines[i]
        stripped = raw.strip()
        nested = in_item and indent_of(raw) >= 2
        if not stripped:
            i += 1
            continue
        if stripped.startswith('```'):
            out.append('.IP "" %d' % item_indent if nested else '.PP')
            out.append('.nf')
            if not nested:
                out.append('.RS 4')
            indent = indent_of(raw)
            i += 1
            while i < len(lines) and not lines[i].strip().startswith('```'):
                code = lines[i]
                out.append(code_line(code[indent:] if code[:indent].strip() == '' else code))
                i += 1
            if not nested:
                out.append('.RE')
            out.append('.fi')
            i += 1
            in_item = nested
            continue
        if stripped.startswith('### '):
            out.append('.SS ' + inline(stripped[4:]))
            in_item = False
            i += 1
            continue
        if stripped.startswith('|'):
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
            in_item = False
            continue
        if stripped.startswith('!['):
            i += 1
            continue
        bullet = BULLET.match(stripped)
        number = NUMBERED.match(stripped) if indent_of(raw) == 0 else None
        if bullet or number:
            text, i = text_block(i)
            item_indent = 2 if bullet else 4
            if bullet:
                out.append('.IP \\(bu 2')
                text = text[2:]
            else:
                out.append('.IP %s. 4' % number.group(1))
                text = text[number.end():]
            out.append(line(inline(text)))
            in_item = True
            continue
        text, i = text_block(i)
        out.append('.IP "" %d' % item_indent if nested else '.PP')
        out.append(line(inline(text)))
        in_item = nested
    return out


def sections_of(readme):
    """The lines under each "## " heading; the opening paragraphs (after the
    title, before the first heading) under the key None."""
    found = {None: []}
    name = None
    for text in readme.splitlines():
        if text.startswith('# '):
            continue
        if text.startswith('## '):
            name = text[3:].strip()
            found[name] = []
        else:
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
    parser.add_argument('--description', action='store_true')
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
    if args.description:
        page.append('.SH DESCRIPTION')
        page.extend(convert_section(sections[None]))
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
