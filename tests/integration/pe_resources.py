"""Reads what the tests check of a built Windows module (PE file): its
exported names and its resources (type, name, language, bytes), the icon
groups and images, and the version information's strings. Standard library
only; reads the file, never loads it."""

import struct

RT_ICON = 3
RT_GROUP_ICON = 14
RT_VERSION = 16
RT_MANIFEST = 24

_EXPORT_DIRECTORY = 0
_RESOURCE_DIRECTORY = 2


class PeFile:
    def __init__(self, path):
        with open(path, 'rb') as f:
            self.data = f.read()
        if self.data[:2] != b'MZ':
            raise ValueError('%s: not an executable' % path)
        pe, = struct.unpack_from('<I', self.data, 0x3C)
        if self.data[pe:pe + 4] != b'PE\0\0':
            raise ValueError('%s: no PE header' % path)
        self.machine, sections, _, _, _, optional_size, _ = struct.unpack_from(
            '<HHIIIHH', self.data, pe + 4)
        optional = pe + 24
        magic, = struct.unpack_from('<H', self.data, optional)
        self.is_64bit = magic == 0x20B
        directories = optional + (112 if self.is_64bit else 96)
        self.directories = [struct.unpack_from('<II', self.data, directories + 8 * i)
                            for i in range(16)]
        table = optional + optional_size
        self.sections = [struct.unpack_from('<8sIIII', self.data, table + 40 * i)
                         for i in range(sections)]

    def offset(self, rva):
        for _, virtual_size, address, raw_size, raw_pointer in self.sections:
            if address <= rva < address + max(virtual_size, raw_size):
                return raw_pointer + rva - address
        raise ValueError('address %#x lies in no section' % rva)

    def _c_string(self, offset):
        end = self.data.index(b'\0', offset)
        return self.data[offset:end].decode('ascii')

    def exports(self):
        rva, size = self.directories[_EXPORT_DIRECTORY]
        if size == 0:
            return []
        base = self.offset(rva)
        count, = struct.unpack_from('<I', self.data, base + 24)
        names_rva, = struct.unpack_from('<I', self.data, base + 32)
        names = self.offset(names_rva)
        return [self._c_string(self.offset(struct.unpack_from('<I', self.data, names + 4 * i)[0]))
                for i in range(count)]

    def resources(self):
        """(type, name, language, bytes) for every resource; a name is a
        number or a text."""
        rva, size = self.directories[_RESOURCE_DIRECTORY]
        if size == 0:
            return []
        base = self.offset(rva)
        found = []
        for kind, types in self._directory(base, base):
            for name, languages in self._directory(base, types):
                for language, entry in self._directory(base, languages):
                    data_rva, data_size = struct.unpack_from('<II', self.data, entry)
                    start = self.offset(data_rva)
                    found.append((kind, name, language, self.data[start:start + data_size]))
        return found

    def _directory(self, base, offset):
        named, numbered = struct.unpack_from('<HH', self.data, offset + 12)
        for i in range(named + numbered):
            ident, target = struct.unpack_from('<II', self.data, offset + 16 + 8 * i)
            if ident & 0x80000000:
                at = base + (ident & 0x7FFFFFFF)
                length, = struct.unpack_from('<H', self.data, at)
                ident = self.data[at + 2:at + 2 + 2 * length].decode('utf-16-le')
            yield ident, base + (target & 0x7FFFFFFF)


def group_icon_entries(data):
    """(width, height, bits per pixel, bytes, image number) per image of a group."""
    _, kind, count = struct.unpack_from('<HHH', data, 0)
    if kind != 1:
        raise ValueError('not an icon group')
    entries = []
    for i in range(count):
        width, height, _, _, _, bits, size, number = struct.unpack_from(
            '<BBBBHHIH', data, 6 + 14 * i)
        entries.append((width or 256, height or 256, bits, size, number))
    return entries


def icon_image(data):
    """(width, height, bits per pixel, alpha values) of an icon image."""
    header, width, height, _, bits = struct.unpack_from('<IiiHH', data, 0)
    alphas = []
    if bits == 32:
        pixels = data[header:header + width * (height // 2) * 4]
        alphas = list(pixels[3::4])
    return width, height // 2, bits, alphas


def version_strings(data):
    """The StringFileInfo texts of a VERSIONINFO resource, by key."""
    strings = {}

    def walk(offset, end, depth):
        while offset + 6 <= end:
            length, value_length, text = struct.unpack_from('<HHH', data, offset)
            if length == 0:
                break
            key_end = offset + 6
            while data[key_end:key_end + 2] != b'\0\0':
                key_end += 2
            key = data[offset + 6:key_end].decode('utf-16-le')
            value = (key_end + 2 + 3) & ~3
            if text == 1 and depth == 3:
                strings[key] = data[value:value + 2 * value_length].decode(
                    'utf-16-le').rstrip('\0')
            else:
                children = value + (value_length * (2 if text else 1))
                walk((children + 3) & ~3, offset + length, depth + 1)
            offset = (offset + length + 3) & ~3

    walk(0, len(data), 0)
    return strings


def fixed_file_version(data):
    """The four numbers of the file version in VS_FIXEDFILEINFO."""
    at = data.index(struct.pack('<I', 0xFEEF04BD))
    most, least = struct.unpack_from('<II', data, at + 8)
    return most >> 16, most & 0xFFFF, least >> 16, least & 0xFFFF
