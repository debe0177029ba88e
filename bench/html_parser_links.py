#!/usr/bin/env python3
"""The same links with Python's html.parser: every href of an anchor and
every src of an image. Prints how many it found."""
import sys
from html.parser import HTMLParser


class Links(HTMLParser):
    def __init__(self):
        super().__init__()
        self.links = []

    def handle_starttag(self, tag, attrs):
        wanted = {"a": "href", "img": "src"}.get(tag)
        for name, value in attrs:
            if name == wanted and value:
                self.links.append(value)
                break


def main():
    with open(sys.argv[1], encoding="latin-1") as f:
        parser = Links()
        parser.feed(f.read())
        parser.close()
    print(len(parser.links))


if __name__ == "__main__":
    main()
