"""Copies each group's bzip2 stream of the archive ARCHIVE into FOLDER/NNNNN.bz2."""
import os
import struct
import sys

archive, folder = sys.argv[1], sys.argv[2]
with open(archive, 'rb') as file:
    data = file.read()
position, index = 3, 0
while position < len(data) - 1:
    (count,) = struct.unpack_from('<I', data, position)
    position += 4 + 5
    for _ in range(count):
        (length,) = struct.unpack_from('<H', data, position)
        position += 2 + length + 4
    packed, _ = struct.unpack_from('<II', data, position + 5)
    position += 5 + 8
    with open(os.path.join(folder, f'{index:05d}.bz2'), 'wb') as stream:
        stream.write(data[position:position + packed])
    position += packed
    index += 1
