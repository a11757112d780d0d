#!/usr/bin/env python3
"""Generate a large synthetic dictionary set for benchmarks and stress tests.

Writes the same layout as data/: one `<name in lower case>.csv` per dictionary
(header Key,Link) plus dictionaries.csv (header names). With --update FILE it
also writes an update file (header names,Key,Link) aimed at that set.

The output is a pure function of the arguments: the same seed gives the same bytes.

    gen_dictionaries.py --dictionaries 50 --keywords 20000 --seed 7 --out /tmp/big
    gen_dictionaries.py --dictionaries 5 --keywords 1000 --seed 1 --out /tmp/small \
        --update /tmp/small-update.csv --update-rows 500 --duplicates 20
"""
import argparse
import csv
import random
import urllib.parse
from pathlib import Path

SYLLABLES = ("ka lo mi ra the an cy mo vel sha or ith ae lu dra nor ses ul phi ten "
             "zor ma bel ri gos tar qua nim oph el dus hel py rho sa ven ix om "
             "cal ter ly bra fen gal mor vis").split()
ACCENTED = str.maketrans("aeiouncs", "áéíöüñçš")
GREEK = "αβγδεζηθικλμνξοπρστυφχψω"
CYRILLIC = "абвгдежзиклмнопрстуфхцчшюя"
CJK = "天地水火風山雷澤卦星夢命運龍虎鳳龜月日占"
HOSTS = ("en.wikipedia.org/wiki/", "en.wiktionary.org/wiki/", "reference.example.org/terms/")

SHARED_RATE = 0.05  # keywords also found in an earlier dictionary
NON_ASCII_RATE = 0.03
ODD_CASE_RATE = 0.05  # ALL CAPS or lower case instead of Capitalised
PADDED_RATE = 0.02  # spaces at one or both ends
PUNCTUATED_RATE = 0.005  # a comma or quote, so writers must quote the field
NEW_NAME_RATE = 0.2  # update rows aimed at a dictionary not in the set


def word(rng: random.Random) -> str:
    return "".join(rng.choice(SYLLABLES) for _ in range(rng.choice((1, 2, 2, 3, 3, 4))))


def foreign_word(rng: random.Random) -> str:
    script = rng.choice(("latin", "greek", "cyrillic", "cjk"))
    if script == "latin":
        return word(rng).translate(ACCENTED).capitalize()
    if script == "cjk":
        return "".join(rng.choice(CJK) for _ in range(rng.randint(2, 4)))
    letters = GREEK if script == "greek" else CYRILLIC
    return "".join(rng.choice(letters) for _ in range(rng.randint(4, 10))).capitalize()


def fresh_keyword(rng: random.Random) -> str:
    """A keyword of 3-40 characters, mostly one or two words."""
    while True:
        if rng.random() < NON_ASCII_RATE:
            key = foreign_word(rng)
        else:
            words = [word(rng) for _ in range(rng.choices((1, 2, 3), (60, 32, 8))[0])]
            key = " ".join(words).capitalize()
            if rng.random() < PUNCTUATED_RATE:
                key = rng.choice((f"{key}, {word(rng)}", f'"{key}"'))
        if 3 <= len(key) <= 40:
            break
    roll = rng.random()
    if roll < ODD_CASE_RATE:
        key = rng.choice((key.upper(), key.lower()))
    elif roll < ODD_CASE_RATE + PADDED_RATE:
        key = rng.choice((" ", "  ", "")) + key + rng.choice((" ", "\t", ""))
    return key


def link_for(key: str, rng: random.Random) -> str:
    """An https address of 40-120 characters derived from the keyword."""
    base = "https://" + rng.choice(HOSTS)
    link = base + urllib.parse.quote(key.strip().replace(" ", "_"), safe="")
    while len(link) < 40:  # "(" is always escaped in the key part, so padding cannot collide
        link += f"_({word(rng)})"
    if len(link) > 120:  # long non-ASCII keys: fall back to a plain token
        link = base + "term_" + "".join(rng.choice("0123456789abcdef") for _ in range(24))
    return link


def dictionary_name(rng: random.Random) -> str:
    name = word(rng) + word(rng)
    if rng.random() < 0.1:
        name += " " + word(rng)
    return name.capitalize()


def unique_names(count: int, rng: random.Random, taken: set[str]) -> list[str]:
    names = []
    while len(names) < count:
        name = dictionary_name(rng)
        if name.casefold() not in taken:
            taken.add(name.casefold())
            names.append(name)
    return names


def generate(dictionaries: int, keywords: int, rng: random.Random) -> dict[str, list[tuple[str, str]]]:
    names = unique_names(dictionaries, rng, set())
    used_keys: set[str] = set()  # across all dictionaries, so sharing stays at its rate
    shared_pool: list[tuple[str, str]] = []
    result = {}
    for name in names:
        rows: list[tuple[str, str]] = []
        here: set[str] = set()
        while len(rows) < keywords:
            if shared_pool and rng.random() < SHARED_RATE:
                key, link = rng.choice(shared_pool)
            else:
                key = fresh_keyword(rng)
                if key.strip().casefold() in used_keys:
                    continue
                link = link_for(key, rng)
            folded = key.strip().casefold()
            if folded in here:
                continue
            here.add(folded)
            used_keys.add(folded)
            rows.append((key, link))
        shared_pool.extend(rows[: max(1, keywords // 10)])
        result[name] = rows
    return result


def update_rows(data: dict[str, list[tuple[str, str]]], count: int, duplicates: float,
                rng: random.Random) -> list[tuple[str, str, str]]:
    known = list(data)
    new_names = unique_names(max(1, count // 200), rng, {n.casefold() for n in known})
    duplicate_slots = set(rng.sample(range(count), round(count * duplicates / 100)))
    links = {name: {link for _, link in rows} for name, rows in data.items()}
    rows = []
    for i in range(count):
        if i in duplicate_slots and known:
            name = rng.choice(known)
            key, link = rng.choice(data[name])
            if rng.random() < 0.5:  # same page under another spelling of the keyword
                key = fresh_keyword(rng)
        else:
            name = rng.choice(new_names if rng.random() < NEW_NAME_RATE else known)
            key = fresh_keyword(rng)
            link = link_for(key, rng)
            while link in links.get(name, ()):
                key = fresh_keyword(rng)
                link = link_for(key, rng)
        rows.append((name, key, link))
    return rows


def write_csv(path: Path, header: list[str], rows) -> None:
    with path.open("w", encoding="utf-8", newline="") as f:
        writer = csv.writer(f, lineterminator="\n")
        writer.writerow(header)
        writer.writerows(rows)


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--dictionaries", type=int, default=10, metavar="N")
    parser.add_argument("--keywords", type=int, default=1000, metavar="M", help="keywords per dictionary")
    parser.add_argument("--seed", type=int, default=0, metavar="S")
    parser.add_argument("--out", type=Path, metavar="DIR", help="folder for the dictionary CSVs")
    parser.add_argument("--update", type=Path, metavar="FILE", help="also write an update file")
    parser.add_argument("--update-rows", type=int, metavar="R", help="rows in the update file (default M)")
    parser.add_argument("--duplicates", type=float, default=10.0, metavar="PERCENT",
                        help="update rows whose Link already exists in their dictionary")
    args = parser.parse_args()
    if args.out is None and args.update is None:
        parser.error("nothing to write: give --out, --update or both")
    if not 0 <= args.duplicates <= 100:
        parser.error("--duplicates must be between 0 and 100")

    rng = random.Random(args.seed)
    data = generate(args.dictionaries, args.keywords, rng)
    if args.out:
        args.out.mkdir(parents=True, exist_ok=True)
        write_csv(args.out / "dictionaries.csv", ["names"], ([n] for n in data))
        for name, rows in data.items():
            write_csv(args.out / f"{name.lower()}.csv", ["Key", "Link"], rows)
    if args.update:
        count = args.keywords if args.update_rows is None else args.update_rows
        write_csv(args.update, ["names", "Key", "Link"], update_rows(data, count, args.duplicates, rng))


if __name__ == "__main__":
    main()
