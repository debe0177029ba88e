"""Reading the expected files of tests/pages (see README.md) and the rows
the check tool prints with --tsv, in one form: a header of "@key" -> value
bytes and the rows as byte lines, "kind<TAB>url<TAB>title"."""


def parse_rows(data, comments=False):
    header, rows = {}, []
    for line in data.splitlines():
        if not line or (comments and line.startswith(b"#")):
            continue
        if line.startswith(b"@"):
            key, _, value = line.partition(b"\t")
            header[key.decode()] = value
        else:
            rows.append(line)
    return header, rows


def read_expected(path):
    with open(path, "rb") as f:
        return parse_rows(f.read(), comments=True)
