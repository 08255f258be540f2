"""A PE image read with the stdlib: its sections, data directories, time
stamps and resources, for the tests that look inside the DLL. The release is
a 32-bit image (PE32); the x86_64 test build is a PE32+ one."""
import struct

EXPORT_DIRECTORY = 0
IMPORT_DIRECTORY = 1
RESOURCE_DIRECTORY = 2
IMPORT_DESCRIPTOR_SIZE = 20
# The optional header's magic, and how many bytes of its fields come before
# the data directories: PE32+ widens five of them to 64 bits.
DIRECTORIES_OFFSET = {0x10B: 96, 0x20B: 112}
# The operating system's and the subsystem's versions, from the start of the
# optional header: the oldest Windows that loads the image.
VERSIONS_OFFSET = 40
# An import lookup entry: its width and the bit that marks an import by number.
THUNK = {0x10B: ("<I", 4, 1 << 31), 0x20B: ("<Q", 8, 1 << 63)}
SECTION_HEADER_SIZE = 40
NAMED_ENTRY = 0x80000000


class PeImage:
    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        assert data[pe:pe + 4] == b"PE\0\0"
        section_count, self.time_stamp = struct.unpack_from("<2xHI", data, pe + 4)
        optional_size = struct.unpack_from("<H", data, pe + 20)[0]
        optional = pe + 24
        magic = struct.unpack_from("<H", data, optional)[0]
        self.directories = optional + DIRECTORIES_OFFSET[magic]
        self.thunk = THUNK[magic]
        # (operating system major, minor, subsystem major, minor)
        self.versions = struct.unpack_from("<HH4xHH", data, optional + VERSIONS_OFFSET)
        table = optional + optional_size
        self.sections = [struct.unpack_from("<IIII", data, table + SECTION_HEADER_SIZE * i + 8)
                         for i in range(section_count)]

    def directory(self, index):
        """(rva, size) of a data directory; rva 0 when the image has none."""
        return struct.unpack_from("<II", self.data, self.directories + 8 * index)

    def offset_of(self, rva):
        for size, address, _, raw in self.sections:
            if address <= rva < address + max(size, 1):
                return rva - address + raw
        raise ValueError("RVA %#x in no section" % rva)

    def text_at(self, rva):
        at = self.offset_of(rva)
        return self.data[at:self.data.index(b"\0", at)].decode("ascii")

    def imports(self):
        """{library name in capitals: [function name, or "#" and its number]}."""
        form, size, by_number = self.thunk
        found = {}
        at = self.offset_of(self.directory(IMPORT_DIRECTORY)[0])
        while True:
            lookup, _, _, name, first = struct.unpack_from("<5I", self.data, at)
            if name == 0:
                return found
            functions = found.setdefault(self.text_at(name).upper(), [])
            entry_at = self.offset_of(lookup or first)
            while (entry := struct.unpack_from(form, self.data, entry_at)[0]) != 0:
                # A name entry starts with a two-byte hint.
                functions.append("#%d" % (entry & 0xFFFF) if entry & by_number else self.text_at(entry + 2))
                entry_at += size
            at += IMPORT_DESCRIPTOR_SIZE

    def exports(self):
        """(names, number of exported functions)."""
        at = self.offset_of(self.directory(EXPORT_DIRECTORY)[0])
        functions, count = struct.unpack_from("<2I", self.data, at + 20)
        names = self.offset_of(struct.unpack_from("<I", self.data, at + 32)[0])
        return [self.text_at(struct.unpack_from("<I", self.data, names + 4 * i)[0]) for i in range(count)], functions

    def time_stamps(self):
        """The COFF header's time stamp and those of the export and resource directories."""
        stamps = {"header": self.time_stamp}
        for index, name in ((EXPORT_DIRECTORY, "export"), (RESOURCE_DIRECTORY, "resource")):
            rva, _ = self.directory(index)
            if rva:
                stamps[name] = struct.unpack_from("<I", self.data, self.offset_of(rva) + 4)[0]
        return stamps

    def resources(self):
        """{(type, name, language): bytes}."""
        data = self.data
        base = self.offset_of(self.directory(RESOURCE_DIRECTORY)[0])

        def name_at(value):
            if not value & NAMED_ENTRY:
                return value
            at = base + (value & ~NAMED_ENTRY)
            length = struct.unpack_from("<H", data, at)[0]
            return data[at + 2:at + 2 + 2 * length].decode("utf-16-le")

        def entries(directory):
            named, numbered = struct.unpack_from("<12xHH", data, base + directory)
            for i in range(named + numbered):
                name, target = struct.unpack_from("<II", data, base + directory + 16 + 8 * i)
                yield name_at(name), target & ~NAMED_ENTRY

        found = {}
        for kind, kinds in entries(0):
            for name, names in entries(kinds):
                for language, leaf in entries(names):
                    rva, size = struct.unpack_from("<II", data, base + leaf)
                    at = self.offset_of(rva)
                    found[(kind, name, language)] = data[at:at + size]
        return found
