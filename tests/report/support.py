"""Shared helpers of the report tests: the tool's location, running it, and
reading back what it wrote."""

import html.parser
import json
import os
import re
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.dirname(os.path.dirname(HERE))
TOOL = os.path.join(SOURCE, 'tools', 'rootsim-report')
sys.path.insert(0, os.path.join(SOURCE, 'tools'))


def run_tool(directory, *args):
    """Runs rootsim-report on a directory; returns the completed process."""
    return subprocess.run([sys.executable, TOOL] + list(args) + [directory],
                          capture_output=True, text=True, timeout=300)


class ImgParser(html.parser.HTMLParser):
    """The img elements of a page, as attribute dicts."""

    def __init__(self):
        super().__init__()
        self.images = []

    def handle_starttag(self, tag, attrs):
        if tag == 'img':
            self.images.append(dict(attrs))


def images_of(html_text):
    p = ImgParser()
    p.feed(html_text)
    return p.images


def report_page(directory):
    with open(os.path.join(directory, 'report', 'index.html'), encoding='utf-8') as f:
        return f.read()


def gallery_of(html_text):
    """The picture sets embedded in the page."""
    m = re.search(r'<script type="application/json" id="picture-sets">(.*?)</script>', html_text, re.S)
    return json.loads(m.group(1).replace('<\\/', '</')) if m else []


def figure_files(directory):
    """The figures the page refers to, as paths, and the page's img sources."""
    text = report_page(directory)
    srcs = [img['src'].split('?')[0] for img in images_of(text)]
    return [os.path.join(directory, 'report', s) for s in srcs]


def manifest(directory):
    with open(os.path.join(directory, 'report', 'manifest.json')) as f:
        return json.load(f)
