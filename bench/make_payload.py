"""Writes a mixed payload of about MB megabytes into FOLDER: a third text, a quarter program
files, a fifth already-compressed data, the rest many small files. With --small-files COUNT
instead of MB: COUNT files under 4 KB each, text and program bytes, in a documentation tree of
a hundred files per folder. Deterministic."""
import os
import random
import sys

folder = sys.argv[1]
rng = random.Random(20261208)
words = [''.join(rng.choice('etaoinshrdlucmfwypvbgkjqxz') for _ in range(rng.randint(2, 10))) for _ in range(5000)]


def text(size):
    lines, length = [], 0
    while length < size:
        line = ' '.join(rng.choices(words, k=rng.randint(4, 14))) + '.\n'
        lines.append(line)
        length += len(line)
    return ''.join(lines).encode()[:size]


def program(size):
    # Code-like bytes: repeated instruction patterns, tables of small numbers, some strings.
    parts, length = [], 0
    opcodes = [bytes(rng.randrange(256) for _ in range(rng.randint(1, 7))) for _ in range(400)]
    while length < size:
        kind = rng.random()
        if kind < 0.7:
            chunk = b''.join(rng.choices(opcodes, k=64))
        elif kind < 0.9:
            chunk = b''.join(rng.randrange(4096).to_bytes(4, 'little') for _ in range(64))
        else:
            chunk = ' '.join(rng.choices(words, k=20)).encode() + b'\0'
        parts.append(chunk)
        length += len(chunk)
    return b''.join(parts)[:size]


def write(path, data):
    path = os.path.join(folder, path)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb') as file:
        file.write(data)


if sys.argv[2] == '--small-files':
    for index in range(int(sys.argv[3])):
        size = rng.randint(100, 4000)
        maker = text if index % 2 else program
        write(f'doc/{index // 2000:02d}/{index // 100 % 20:02d}/page-{index}.htm', maker(size))
    sys.exit(0)

total = int(sys.argv[2]) << 20
shares = {'text': total // 3, 'bin': total // 4, 'packed': total // 5}
shares['small'] = total - sum(shares.values())
for k in range(6):
    write(f'docs/manual-{k}.txt', text(shares['text'] // 6))
for k in range(5):
    write(f'bin/program-{k}.exe', program(shares['bin'] // 5))
for k in range(4):
    size = shares['packed'] // 4
    write(f'data/archive-{k}.bin', rng.randbytes(size))  # compressed data looks random
small, index = shares['small'], 0
while small > 0:
    size = min(small, rng.choice([200, 1000, 3000, 8000, 20000]))
    maker = text if index % 2 else program
    write(f'res/{index // 500:02d}/item-{index}.dat', maker(size))
    small -= size
    index += 1
