#!/usr/bin/env python3
"""Writes the sample package of the Vorn 5.02 installer: eleven files of our own
making under the manifest's names. The programs and help files are placeholders
with the structure of their kind, so that compression behaves as on real files.
The output depends on nothing but this script.

usage: make_package.py [OUTPUT_DIR]   (default: resources/package of this tree)
"""

import os
import struct
import sys


class Rng:
    """xorshift64*: the same sequence on every Python version."""

    def __init__(self, seed):
        self.state = seed or 1

    def next(self):
        x = self.state
        x ^= (x >> 12)
        x ^= (x << 25) & 0xFFFFFFFFFFFFFFFF
        x ^= (x >> 27)
        self.state = x
        return (x * 0x2545F4914F6CDD1D) & 0xFFFFFFFFFFFFFFFF

    def below(self, n):
        return (self.next() >> 11) % n

    def pick(self, items):
        return items[self.below(len(items))]

    def weighted(self, pairs):
        total = sum(w for w, _ in pairs)
        r = self.below(total)
        for w, item in pairs:
            if r < w:
                return item
            r -= w
        return pairs[-1][1]

    def bytes(self, n):
        return bytes(self.below(256) for _ in range(n))


WORDS = """
channel server nickname message window user network connection option setting
query chat friend list address port identity font colour sound file transfer
command alias popup menu button toolbar status line topic mode ban invite kick
operator voice away notify ignore log folder directory help text version release
client program option dialog timer script event script variable editor default
new old first last next previous open close connect disconnect join leave part
quit send receive show hide select change clear save load print copy paste find
the a an of to in on for with from by at as is are was be can will may must not
and or but if then when while each every all some any this that these those your
""".split()

VERBS = "opens closes shows hides sends receives keeps lists changes selects clears saves loads finds".split()
NOUNS = [w for w in WORDS[:60]]
ADJECTIVES = "new old current active selected default empty long short private public whole".split()


def sentence(rng):
    templates = [
        "The {adj} {noun} {verb} the {noun2}.",
        "Each {noun} {verb} its own {noun2} when you {verb_base} it.",
        "You can change the {noun} in the {noun2} dialog.",
        "If the {noun} is {adj}, Vorn {verb} the {noun2} at once.",
        "The {noun2} window {verb} every {adj} {noun}.",
        "Use the {noun} {noun2} to see which {noun}s are {adj}.",
    ]
    verb = rng.pick(VERBS)
    return rng.pick(templates).format(
        adj=rng.pick(ADJECTIVES), noun=rng.pick(NOUNS), noun2=rng.pick(NOUNS), verb=verb,
        verb_base=verb[:-1] if verb.endswith("s") else verb)


def paragraph(rng, sentences):
    return " ".join(sentence(rng) for _ in range(sentences))


def wrap(text, width=72):
    lines, line = [], ""
    for word in text.split():
        if line and len(line) + 1 + len(word) > width:
            lines.append(line)
            line = word
        else:
            line = word if not line else line + " " + word
    if line:
        lines.append(line)
    return "\r\n".join(lines)


def pad(data, size, fill=b"\0"):
    if len(data) > size:
        raise SystemExit("placeholder grew beyond %d bytes" % size)
    return data + fill * (size - len(data))


def align(data, boundary, fill=b"\0"):
    return data + fill * (-len(data) % boundary)


# --- placeholder programs --------------------------------------------------

def code_section(rng, size, base):
    """Function bodies from frequent instruction patterns, each padded to 16 bytes."""
    out = bytearray()
    functions = []
    while len(out) < size:
        functions.append(base + len(out))
        body = bytearray(b"\x55\x8b\xec")  # the usual frame set-up
        if rng.below(2):
            body += b"\x83\xec" + bytes([4 * (1 + rng.below(16))])
        for _ in range(4 + rng.below(40)):
            kind = rng.weighted([(8, "load"), (6, "store"), (6, "call"), (4, "cmp"), (4, "jump"), (3, "push"),
                                 (2, "xor"), (2, "lea"), (1, "imm")])
            if kind == "load":
                body += bytes([0x8b, rng.pick([0x45, 0x4d, 0x55, 0x5d]), (-4 * (1 + rng.below(8))) & 0xFF])
            elif kind == "store":
                body += bytes([0x89, rng.pick([0x45, 0x4d, 0x55]), (-4 * (1 + rng.below(8))) & 0xFF])
            elif kind == "call":
                target = rng.pick(functions) if rng.below(3) else base + rng.below(size)
                body += b"\xe8" + struct.pack("<i", target - (base + len(out) + len(body) + 5))
            elif kind == "cmp":
                body += bytes([0x83, 0xf8, rng.below(16)])
            elif kind == "jump":
                body += bytes([rng.pick([0x74, 0x75, 0x7c, 0xeb]), rng.below(48)])
            elif kind == "push":
                body += b"\x68" + struct.pack("<I", 0x00410000 + 4 * rng.below(2048))
            elif kind == "xor":
                body += rng.pick([b"\x33\xc0", b"\x33\xdb", b"\x33\xc9"])
            elif kind == "lea":
                body += bytes([0x8d, 0x45, (-4 * (1 + rng.below(8))) & 0xFF])
            else:
                body += b"\xb8" + struct.pack("<I", rng.next() & 0xFFFFFFFF)
        body += b"\x8b\xe5\x5d" + rng.pick([b"\xc3", b"\xc2\x04\x00", b"\xc2\x08\x00"])
        out += align(body, 16, b"\xcc")
    return bytes(out[:size])


def string_table(rng, count):
    out = bytearray()
    for i in range(count):
        text = sentence(rng)
        if i % 3 == 0:
            out += text.encode("utf-16-le") + b"\0\0"
        else:
            out += text.encode("ascii") + b"\0"
    return bytes(out)


def pointer_table(rng, count, base):
    value, out = base, bytearray()
    for _ in range(count):
        value += 4 * (1 + rng.below(24))
        out += struct.pack("<I", value)
    return bytes(out)


def icon_bitmap(rng):
    """A 32x32 picture with 16 colours: a palette, then runs of the same nibble."""
    palette = b"".join(struct.pack("<BBBB", (i * 37) & 0xFF, (i * 91) & 0xFF, (i * 53) & 0xFF, 0) for i in range(16))
    rows = bytearray()
    for y in range(32):
        colour, row = rng.below(16), bytearray()
        while len(row) < 16:
            run = 1 + rng.below(6)
            row += bytes([colour * 17]) * run
            if rng.below(3) == 0:
                colour = rng.below(16)
        rows += row[:16]
    mask = bytes(128)
    return struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 4, 0, 0, 0, 0, 16, 0) + palette + bytes(rows) + mask


def placeholder_program(seed, size, title):
    rng = Rng(seed)
    stub = (b"MZ" + bytes(58) + struct.pack("<I", 0x80) + bytes(64)
            + ("This is a placeholder for %s of the Vorn package.\r\n$" % title).encode("ascii"))
    header = align(stub, 0x80) + b"PE-PLACEHOLDER\0\0" + struct.pack("<IIII", 0x400, size, 0x00400000, 0x1000)
    header = pad(header, 0x400)
    code = code_section(rng, size * 55 // 100, 0x00401000)
    data = align(string_table(rng, size // 900) + pointer_table(rng, size // 200, 0x00410000), 512)
    resources = b"".join(icon_bitmap(rng) for _ in range(4))
    body = header + align(code, 512) + data + align(resources, 512)
    return pad(body, size)


# --- placeholder help files -------------------------------------------------

def placeholder_help(seed, size, subject):
    rng = Rng(seed)
    topics = []
    while sum(len(t) for t in topics) < size * 3 // 4:
        title = "%s: %s %s" % (subject, rng.pick(ADJECTIVES).capitalize(), rng.pick(NOUNS))
        text = title + "\0" + "\n".join(paragraph(rng, 3 + rng.below(5)) for _ in range(2 + rng.below(3))) + "\0"
        topics.append(text.encode("ascii"))
    directory = bytearray()
    offset = 0
    for i, topic in enumerate(topics):
        directory += struct.pack("<IIH", offset, len(topic), i)
        offset += len(topic)
    # Pictures in help files are stored packed: these blocks stand for them.
    pictures = b"".join(rng.bytes(512 + rng.below(1024)) for _ in range(4))
    body = b"VHLP\x01\x00" + struct.pack("<II", len(topics), len(directory)) + bytes(directory) + b"".join(topics)
    return pad(align(body, 16) + pictures, size)


# --- texts -----------------------------------------------------------------

README = """\
Vorn v5.02 32bit
================

Vorn is a chat client for Windows 95 and Windows NT. It connects to chat
networks, keeps one window for every channel and every private conversation,
and remembers your servers, aliases and menus between sessions.

Installing
----------

Run the installation program and confirm or choose the directory for Vorn.
The installation copies the program, its help files and its settings files
into that directory. If you already use Vorn, the installation asks whether
to keep your settings files or to replace them with new ones; other files
that are already there can be moved into a backup directory first.

When the option is set, the installation adds a group "Vorn v5.02" to
Program Manager with icons for the program, the two help files, this text
and the version history.

Starting
--------

Start Vorn from its icon. The first time, the Setup dialog asks for your
nickname, an alternative nickname, your name and your e-mail address. Pick a
network and a server from the list and press Connect.

Files
-----

  vorn32.exe     the program
  vlink32.exe    the helper that hands addresses to your web browser
  vorn.hlp       the help file: every dialog and command
  ircintro.hlp   an introduction to chat networks for new users
  readme.txt     this text
  versions.txt   what changed in each version
  vorn.ini       your settings
  aliases.ini    your aliases: short commands that stand for longer ones
  popups.ini     the menus that appear when you click with the right button
  servers.ini    the list of networks and servers
  urls.ini       the addresses Vorn has collected for you

Settings files
--------------

The settings files are plain text. You can edit them with any text editor
while Vorn is not running. Vorn writes vorn.ini when it closes; keep a copy
if you change it by hand.

Support
-------

Read the help file first: most questions are answered there. New versions
are announced in the channel #vorn on the Vornnet network.

Vorn is shareware. You may try it for thirty days; if you keep using it,
please register. Registering removes the reminder that appears when the
program starts.
"""


def versions_text():
    rng = Rng(502)
    entries = [
        ("5.02", ["Fixed the width of the nickname list after restoring a minimised window.",
                  "Fixed a crash when a server sent an empty topic.",
                  "The installation keeps existing settings files on request."]),
        ("5.01", ["Fixed file transfers of more than 2 GB being reported as failed.",
                  "Popup menus may now hold up to 500 items."]),
        ("5.00", ["First 32bit version for Windows 95 and Windows NT.",
                  "Long file names in logs and file transfers.",
                  "New toolbar with tool tips.",
                  "Servers are grouped by network in the Setup dialog."]),
    ]
    number = 472
    while number >= 100:
        items = []
        for _ in range(2 + rng.below(6)):
            items.append("%s the %s %s." % (rng.pick(["Fixed", "Changed", "Added", "Improved", "Removed"]),
                                             rng.pick(ADJECTIVES), " ".join(rng.pick(NOUNS) for _ in range(2))))
        entries.append(("%d.%02d" % (number // 100, number % 100), items))
        number -= 1 + rng.below(12)
    out = ["Vorn version history", "====================", ""]
    for version, items in entries:
        out.append("Version " + version)
        out.append("")
        for item in items:
            out.append("  - " + wrap(item, 66).replace("\r\n", "\r\n    "))
        out.append("")
    return "\r\n".join(out)


def ini(sections):
    out = []
    for name, entries in sections:
        out.append("[%s]" % name)
        out.extend("%s=%s" % pair for pair in entries)
        out.append("")
    return "\r\n".join(out)


def vorn_ini():
    rng = Rng(6)
    colours = [("colour%d" % i, "%d,%d,%d" % (rng.below(256), rng.below(256), rng.below(256))) for i in range(16)]
    windows = [(name, "%d,%d,%d,%d,0,1" % (rng.below(200), rng.below(150), 400 + rng.below(200), 300 + rng.below(150)))
               for name in ["main", "status", "channels", "query", "notify", "finger", "urls", "transfers"]]
    return ini([
        ("identity", [("nick", "newuser"), ("altnick", "newuser_"), ("name", "New Vorn User"),
                      ("email", "user@example.org")]),
        ("connection", [("network", "Vornnet"), ("server", "random.vornnet.example"), ("port", "6667"),
                        ("retry", "3"), ("retrydelay", "30"), ("identd", "1")]),
        ("options", [("option%d" % i, str(rng.below(2))) for i in range(32)]),
        ("windows", windows),
        ("colours", colours),
        ("logging", [("enabled", "0"), ("folder", "logs"), ("timestamp", "1")]),
        ("fonts", [("default", "Fixedsys,9"), ("status", "Courier New,10")]),
        ("files", [("aliases", "aliases.ini"), ("popups", "popups.ini"), ("servers", "servers.ini"),
                   ("urls", "urls.ini")]),
    ])


def aliases_ini():
    aliases = [
        ("/j", "/join #$1"), ("/p", "/part #$1"), ("/q", "/query $1"), ("/w", "/whois $1"),
        ("/n", "/names #$1"), ("/k", "/kick # $1"), ("/op", "/mode # +o $1"), ("/dop", "/mode # -o $1"),
        ("/back", "/away"), ("/brb", "/away Be right back"), ("/ping", "/ctcp $1 ping"),
        ("/slap", "/me slaps $1 with a large newspaper"), ("/hello", "/say Hello everybody!"),
    ]
    return ini([("aliases", [("a%d" % i, "%s %s" % pair) for i, pair in enumerate(aliases)])])


def popups_ini():
    menus = {
        "status": ["Server Links:/links", "Lusers:/lusers", "Message of the day:/motd", "-", "Quit:/quit"],
        "channel": ["Channel modes:/channel", "Topic:/topic #", "Names:/names #", "-", "Part:/part #"],
        "nicklist": ["Whois:/whois $1", "Query:/query $1", "-", "Op:/mode # +o $1", "Deop:/mode # -o $1",
                     "Kick:/kick # $1", "Ban:/ban $1", "-", "Send file:/dcc send $1"],
        "query": ["Whois:/whois $1", "Ping:/ctcp $1 ping", "Version:/ctcp $1 version", "-", "Close:/close"],
    }
    return ini([(name, [("p%d" % i, item) for i, item in enumerate(items)]) for name, items in menus.items()])


def servers_ini():
    rng = Rng(9)
    networks = ["Vornnet", "Starlink Chat", "Harbour", "Northwind", "Quietnet", "Lakeside", "Orbit", "Maplenet"]
    places = ["Random server", "Amsterdam", "Boston", "Chicago", "Dallas", "Helsinki", "London", "Oslo", "Paris",
              "Perth", "Seattle", "Stockholm", "Tokyo", "Toronto", "Vienna", "Zurich"]
    servers = []
    for network in networks:
        domain = network.lower().replace(" ", "") + ".example"
        for place in places[: 4 + rng.below(len(places) - 4)]:
            host = "random" if place == "Random server" else place.lower()
            servers.append("%s: %s, %s.%s, 6667-6669" % (network, place, host, domain))
    return ini([("networks", [("n%d" % i, n) for i, n in enumerate(networks)]),
                ("servers", [("s%d" % i, s) for i, s in enumerate(servers)])])


def urls_ini():
    sites = ["Vorn home page,http://www.vorn.example/", "Vorn help pages,http://www.vorn.example/help/",
             "Vornnet,http://www.vornnet.example/", "Chat networks list,http://networks.example.org/",
             "Channel list of Vornnet,http://www.vornnet.example/channels/"]
    return ini([("urls", [("u%d" % i, s) for i, s in enumerate(sites)])])


def files():
    return {
        "vorn32.exe": placeholder_program(32, 184320, "the Vorn program"),
        "vlink32.exe": placeholder_program(33, 61440, "the Vorn link helper"),
        "vorn.hlp": placeholder_help(2, 92160, "Vorn Help"),
        "ircintro.hlp": placeholder_help(3, 40960, "Introduction"),
        "readme.txt": README.replace("\n", "\r\n").encode("ascii"),
        "versions.txt": versions_text().encode("ascii"),
        "vorn.ini": vorn_ini().encode("ascii"),
        "aliases.ini": aliases_ini().encode("ascii"),
        "popups.ini": popups_ini().encode("ascii"),
        "servers.ini": servers_ini().encode("ascii"),
        "urls.ini": urls_ini().encode("ascii"),
    }


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "resources", "package")
    os.makedirs(out, exist_ok=True)
    for name, data in files().items():
        if data.startswith(b"SZDD"):
            raise SystemExit(name + " must not begin with the signature")
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
