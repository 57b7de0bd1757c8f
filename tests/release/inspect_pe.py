#!/usr/bin/env python3
"""Inspects a built brinemark.exe and checks that it is the program we ship.

Usage: inspect_pe.py EXE ARCHITECTURE MANIFEST [--any-size]

ARCHITECTURE is the target processor of the build (x86 for the product, amd64 for its
64-bit twin); MANIFEST is the manifest file the build configured, which the program
must carry byte for byte. --any-size leaves out the size limit of the 32-bit product, for
a 32-bit test build whose runtime differs from the product's. Prints one line per check and exits with 1 when any check
fails, 2 when the arguments are wrong or the file is no readable PE image.
"""

import struct
import sys
import xml.etree.ElementTree as ElementTree
from collections import namedtuple


class Malformed(Exception):
    """The input lacks the structure the checks read: a bound, a count or a layout is off."""


class Reader:
    """Every read of a byte buffer goes through here: offsets and lengths are checked first."""

    def __init__(self, data, what):
        self.data = data
        self.what = what

    def __len__(self):
        return len(self.data)

    def span(self, offset, length, what):
        if offset < 0 or length < 0 or offset + length > len(self.data):
            raise Malformed(f"{what}: {length} bytes at offset {offset:#x} lie outside "
                            f"the {len(self.data)} bytes of {self.what}")
        return self.data[offset:offset + length]

    def sub(self, offset, length, what):
        return Reader(self.span(offset, length, what), what)

    def rest(self, offset, what):
        return self.sub(offset, len(self.data) - offset, what)

    def unpack(self, layout, offset, what):
        """layout is a struct format with its byte order, e.g. '<HHI'."""
        return struct.unpack(layout, self.span(offset, struct.calcsize(layout), what))

    def value(self, layout, offset, what):
        return self.unpack(layout, offset, what)[0]

    def ascii_z(self, offset, what):
        """A zero-terminated ASCII text that ends inside the buffer."""
        end = self.data.find(b"\0", offset) if 0 <= offset < len(self.data) else -1
        if end < 0:
            raise Malformed(f"{what}: no terminated text at offset {offset:#x} of {self.what}")
        return self.data[offset:end].decode("ascii", errors="replace")

    def utf16_z(self, offset, what):
        """A zero-terminated UTF-16LE text; returns it and the offset after its terminator."""
        end = offset
        while self.value("<H", end, what) != 0:
            end += 2
        return self.span(offset, end - offset, what).decode("utf-16-le", errors="replace"), end + 2


def align4(offset):
    return (offset + 3) & ~3


# ---------------------------------------------------------------------------------------
# PE image: headers, sections, imports, resources

IMPORT_DIRECTORY, RESOURCE_DIRECTORY, DELAY_IMPORT_DIRECTORY = 1, 2, 13

OptionalLayout = namedtuple("OptionalLayout",
                            "name image_base image_base_offset directory_count_offset")
OPTIONAL_LAYOUTS = {
    0x10B: OptionalLayout("PE32", "<I", 28, 92),
    0x20B: OptionalLayout("PE32+", "<Q", 24, 108),
}
SUBSYSTEM_OFFSET = 68
DLL_CHARACTERISTICS_OFFSET = 70

Section = namedtuple("Section", "virtual_address stored_size raw_offset")


class PeImage:
    def __init__(self, data):
        self.file = Reader(data, "the executable")
        if self.file.span(0, 2, "DOS header") != b"MZ":
            raise Malformed("no MZ signature at the start of the file")
        pe = self.file.value("<I", 0x3C, "PE header offset")
        if self.file.span(pe, 4, "PE signature") != b"PE\0\0":
            raise Malformed(f"no PE signature at offset {pe:#x}")
        self.machine, section_count, _, _, _, optional_size, self.characteristics = \
            self.file.unpack("<HHIIIHH", pe + 4, "file header")
        optional = self.file.sub(pe + 24, optional_size, "optional header")
        self.magic = optional.value("<H", 0, "optional header magic")
        layout = OPTIONAL_LAYOUTS.get(self.magic)
        if layout is None:
            raise Malformed(f"unknown optional header magic {self.magic:#x}")
        self.format = layout.name
        self.subsystem = optional.value("<H", SUBSYSTEM_OFFSET, "subsystem")
        self.dll_characteristics = optional.value("<H", DLL_CHARACTERISTICS_OFFSET,
                                                  "DLL characteristics")
        self.image_base = optional.value(layout.image_base, layout.image_base_offset, "image base")
        self.directories = self._directories(optional, layout.directory_count_offset)
        self.sections = self._sections(pe + 24 + optional_size, section_count)

    @staticmethod
    def _directories(optional, count_offset):
        count = optional.value("<I", count_offset, "data directory count")
        return [optional.unpack("<II", count_offset + 4 + 8 * i, f"data directory {i}")
                for i in range(count)]

    def _sections(self, offset, count):
        """Where each section's bytes lie in the file; the part beyond its file data, which
        the loader fills with zeros, is nothing the checks need."""
        sections = []
        for i in range(count):
            virtual_size, address, raw_size, raw_offset = self.file.unpack(
                "<8xIIII", offset + 40 * i, f"section header {i}")
            sections.append(Section(address, min(virtual_size or raw_size, raw_size), raw_offset))
        return sections

    def directory(self, index):
        """(rva, size) of a data directory; (0, 0) when the image has none."""
        return self.directories[index] if index < len(self.directories) else (0, 0)

    def view(self, rva, what):
        """The file bytes of the section holding rva, from rva to the end of its file data."""
        for section in self.sections:
            delta = rva - section.virtual_address
            if 0 <= delta < section.stored_size:
                return self.file.sub(section.raw_offset + delta, section.stored_size - delta, what)
        raise Malformed(f"{what}: address {rva:#x} lies in no section's file data")

    def at(self, rva, length, what):
        return self.view(rva, what).span(0, length, what)


def imported_dlls(image):
    """Names of the DLLs the loader maps for the program: ordinary and delay-loaded imports."""
    ordinary = [fields[3] for fields in _descriptors(image, IMPORT_DIRECTORY, "<5I", 3)]
    # Delay-load descriptors without the RVA attribute (bit 0) hold addresses instead.
    delayed = [fields[1] - (0 if fields[0] & 1 else image.image_base)
               for fields in _descriptors(image, DELAY_IMPORT_DIRECTORY, "<8I", 1)]
    return [image.view(rva, "imported DLL name").ascii_z(0, "imported DLL name")
            for rva in ordinary + delayed]


def _descriptors(image, directory, layout, name_field):
    """The entries of a descriptor table, which ends with an entry without a name."""
    rva, _ = image.directory(directory)
    if rva == 0:
        return []
    table = image.view(rva, "import descriptors")
    size = struct.calcsize(layout)
    entries = []
    for offset in range(0, len(table), size):
        fields = table.unpack(layout, offset, "import descriptor")
        if fields[name_field] == 0:
            return entries
        entries.append(fields)
    raise Malformed("an import descriptor table has no terminating entry")


RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24
RESOURCE_LEVELS = 3  # type, name, language
MAX_RESOURCES = 4096
Resource = namedtuple("Resource", "type name language data")


def resources(image):
    """All resources of the image as a flat list, read from the three-level resource tree."""
    rva, _ = image.directory(RESOURCE_DIRECTORY)
    if rva == 0:
        return []
    tree = image.view(rva, "resource tree")
    found = []
    _walk_resource_directory(image, tree, 0, (), found)
    return found


def _walk_resource_directory(image, tree, offset, path, found):
    named, numbered = tree.unpack("<HH", offset + 12, "resource directory")
    for i in range(named + numbered):
        name_field, target = tree.unpack("<II", offset + 16 + 8 * i, "resource directory entry")
        key = _resource_key(tree, name_field)
        is_directory = bool(target & 0x80000000)
        if is_directory != (len(path) < RESOURCE_LEVELS - 1):
            raise Malformed(f"resource {path + (key,)} breaks the three levels of the tree")
        if is_directory:
            _walk_resource_directory(image, tree, target & 0x7FFFFFFF, path + (key,), found)
        else:
            found.append(Resource(*path, key, _resource_data(image, tree, target)))
            if len(found) > MAX_RESOURCES:
                raise Malformed(f"more than {MAX_RESOURCES} resources")


def _resource_key(tree, name_field):
    """A resource's numeric id, or its name when the high bit marks a counted UTF-16 text."""
    if not name_field & 0x80000000:
        return name_field
    offset = name_field & 0x7FFFFFFF
    length = tree.value("<H", offset, "resource name length")
    return tree.span(offset + 2, 2 * length, "resource name").decode("utf-16-le", errors="replace")


def _resource_data(image, tree, offset):
    data_rva, size, _, _ = tree.unpack("<IIII", offset, "resource data entry")
    return image.at(data_rva, size, "resource data")


def of_type(build, resource_type):
    # Read afresh by each check, so a damaged resource tree fails those checks alone.
    return [r for r in resources(build.image) if r.type == resource_type]


# ---------------------------------------------------------------------------------------
# The checks. Each returns a note for its report line and the list of what is wrong.

Architecture = namedtuple("Architecture", "machine magic manifest_name size_limit")
ARCHITECTURES = {
    # Only the 32-bit product ships; its size is what the user downloads.
    "x86": Architecture(0x14C, 0x10B, "X86", 200 * 1024),
    "amd64": Architecture(0x8664, 0x20B, "amd64", None),
}

Build = namedtuple("Build", "path size image architecture manifest_path manifest")


def check_format(build):
    expected = build.architecture
    problems = []
    if build.image.magic != expected.magic:
        problems.append(f"optional header magic is {build.image.magic:#x}, "
                        f"expected {expected.magic:#x}")
    if build.image.machine != expected.machine:
        problems.append(f"machine is {build.image.machine:#x}, expected {expected.machine:#x}")
    return f"{build.image.format}, machine {build.image.machine:#x}", problems


WINDOWS_GUI = 2


def check_subsystem(build):
    subsystem = build.image.subsystem
    return f"subsystem {subsystem}", [] if subsystem == WINDOWS_GUI else [
        f"subsystem is {subsystem}, expected {WINDOWS_GUI} (Windows GUI; 3 is a console program)"]


# The Known DLLs of Windows 7 to 11: the loader takes them from the system folder only,
# whatever lies beside the program. The program runs elevated from a folder its user may
# write, so it imports nothing else (common controls, Version.dll and shell32 are loaded at
# run time from the system folder); ntdll is always the system's own.
KNOWN_DLLS = {
    "advapi32.dll", "clbcatq.dll", "combase.dll", "comdlg32.dll", "coml2.dll", "difxapi.dll",
    "gdi32.dll", "gdiplus.dll", "imagehlp.dll", "imm32.dll", "kernel32.dll", "msctf.dll",
    "msvcrt.dll", "normaliz.dll", "nsi.dll", "ntdll.dll", "ole32.dll", "oleaut32.dll",
    "psapi.dll", "rpcrt4.dll", "sechost.dll", "setupapi.dll", "shcore.dll", "shell32.dll",
    "shlwapi.dll", "user32.dll", "wldap32.dll", "ws2_32.dll",
}


def check_imports(build):
    dlls = imported_dlls(build.image)
    foreign = [dll for dll in dlls if dll.lower() not in KNOWN_DLLS]
    problems = [f"imports from {dll}, which is no Known DLL: a copy beside the program would be "
                "loaded" for dll in foreign]
    if not dlls:
        problems.append("imports nothing at all")
    return "imports " + ", ".join(dlls), problems


DYNAMIC_BASE, NX_COMPAT = 0x40, 0x100
RELOCS_STRIPPED = 0x1
BASE_RELOCATION_DIRECTORY = 5


def check_hardening(build):
    """Address space layout randomisation needs both the flag and the relocations to move
    the image; data execution prevention needs NX_COMPAT."""
    image = build.image
    problems = []
    for flag, name in ((DYNAMIC_BASE, "DYNAMIC_BASE"), (NX_COMPAT, "NX_COMPAT")):
        if not image.dll_characteristics & flag:
            problems.append(f"{name} is not set in DllCharacteristics "
                            f"({image.dll_characteristics:#x})")
    if image.characteristics & RELOCS_STRIPPED:
        problems.append("the file header says the relocations were stripped")
    if image.directory(BASE_RELOCATION_DIRECTORY)[1] == 0:
        problems.append("the image has no base relocations")
    return f"DllCharacteristics {image.dll_characteristics:#x}", problems


def check_manifest_resource(build):
    manifests = of_type(build, RT_MANIFEST)
    if len(manifests) != 1:
        found = "".join(f" (id {m.name} language {m.language})" for m in manifests)
        return "", [f"{len(manifests)} RT_MANIFEST resources{found}, expected exactly 1"]
    manifest = manifests[0]
    problems = [] if manifest.name == 1 else [f"the manifest has id {manifest.name}, expected 1"]
    if manifest.data != build.manifest:
        problems.append(f"the manifest resource ({len(manifest.data)} bytes) differs from "
                        f"{build.manifest_path} ({len(build.manifest)} bytes)")
    return f"one RT_MANIFEST, id {manifest.name}, {len(manifest.data)} bytes", problems


MANIFEST_NAMESPACES = {"asm": "urn:schemas-microsoft-com:asm.v1",
                       "v3": "urn:schemas-microsoft-com:asm.v3"}
COMMON_CONTROLS_TOKEN = "6595b64144ccf1df"


def check_manifest_content(build):
    """The manifest the program carries: administrator rights, Common Controls 6, nothing else."""
    manifests = of_type(build, RT_MANIFEST)
    if not manifests:
        return "", ["no manifest to read"]
    try:
        root = ElementTree.fromstring(manifests[0].data)
    except ElementTree.ParseError as error:
        return "", [f"the manifest is no well-formed XML: {error}"]
    arch = build.architecture.manifest_name
    sections = [prefixed(child.tag) for child in root]
    expected_sections = ["asm:assemblyIdentity", "asm:description", "asm:dependency",
                         "v3:trustInfo"]
    problems = []
    if prefixed(root.tag) != "asm:assembly" or root.get("manifestVersion") != "1.0":
        problems.append(f"the root element is {prefixed(root.tag)} version "
                        f"{root.get('manifestVersion')}, expected asm:assembly version 1.0")
    if sorted(sections) != sorted(expected_sections):
        problems.append(f"the sections are {sections}, expected exactly {expected_sections}")
    problems += expect_attributes(root, "asm:assemblyIdentity",
                                  {"version": "1.0.0.0", "processorArchitecture": arch,
                                   "type": "win32"}, named=True)
    problems += expect_attributes(root, "asm:dependency/asm:dependentAssembly/asm:assemblyIdentity",
                                  {"type": "win32", "name": "Microsoft.Windows.Common-Controls",
                                   "version": "6.0.0.0", "processorArchitecture": arch,
                                   "publicKeyToken": COMMON_CONTROLS_TOKEN, "language": "*"})
    problems += expect_attributes(root, "v3:trustInfo/v3:security/v3:requestedPrivileges/"
                                        "v3:requestedExecutionLevel",
                                  {"level": "requireAdministrator", "uiAccess": "false"})
    problems += expect_empty_description(root)
    return f"administrator rights, Common Controls 6.0.0.0 for {arch}", problems


def prefixed(tag):
    """An element's tag with its namespace written as the prefix the paths here use."""
    for prefix, namespace in MANIFEST_NAMESPACES.items():
        if tag.startswith("{" + namespace + "}"):
            return prefix + ":" + tag[len(namespace) + 2:]
    return tag


def expect_attributes(root, path, expected, named=False):
    """Exactly one element at path with exactly the expected attributes; named elements
    must also carry a non-empty name of our choosing."""
    elements = root.findall(path, MANIFEST_NAMESPACES)
    if len(elements) != 1:
        return [f"{len(elements)} elements {path}, expected exactly 1"]
    attributes = dict(elements[0].attrib)
    problems = []
    if named and not attributes.pop("name", ""):
        problems.append(f"{path} has no name")
    if attributes != expected:
        problems.append(f"{path} has {attributes}, expected {expected}")
    return problems


def expect_empty_description(root):
    descriptions = root.findall("asm:description", MANIFEST_NAMESPACES)
    if len(descriptions) != 1:
        return [f"{len(descriptions)} description elements, expected exactly 1"]
    description = descriptions[0]
    if description.text or len(description) or description.attrib:
        return ["the description is not empty"]
    return []


# VS_VERSIONINFO: a tree of nodes, each a 32-bit aligned length, value length, type, UTF-16
# key, value and children.
VersionNode = namedtuple("VersionNode", "key type value children")
VERSION_TEXT, VERSION_BINARY = 1, 0
MAX_VERSION_DEPTH = 3  # VS_VERSIONINFO / StringFileInfo / table / string


def version_block(build):
    blocks = of_type(build, RT_VERSION)
    if len(blocks) != 1:
        raise Malformed(f"{len(blocks)} RT_VERSION resources, expected exactly 1")
    return parse_version_node(Reader(blocks[0].data, "the version block"), 0)[0]


def parse_version_node(parent, depth):
    """The node at the start of parent; returns it and its length."""
    length, value_length, value_type = parent.unpack("<HHH", 0, "version node header")
    node = parent.sub(0, length, "version node")
    key, offset = node.utf16_z(6, "version node key")
    if value_type not in (VERSION_TEXT, VERSION_BINARY):
        raise Malformed(f"version node {key!r} has type {value_type}")
    value_size = 2 * value_length if value_type == VERSION_TEXT else value_length
    value = node.span(align4(offset), value_size, f"value of version node {key!r}")
    children = []
    offset = align4(align4(offset) + value_size)
    while offset < len(node):
        if depth == MAX_VERSION_DEPTH:
            raise Malformed(f"version node {key!r} nests deeper than {MAX_VERSION_DEPTH} levels")
        children_area = node.rest(offset, f"children of {key!r}")
        child, child_length = parse_version_node(children_area, depth + 1)
        children.append(child)
        offset = align4(offset + child_length)
    return VersionNode(key, value_type, value, children), length


def text_value(node):
    return node.value.decode("utf-16-le", errors="replace").rstrip("\0")


def only_child(node, key):
    """The single child of node, which must have the given key."""
    keys = [child.key for child in node.children]
    if keys != [key]:
        raise Malformed(f"{node.key!r} holds {keys}, expected only {key!r}")
    return node.children[0]


def child(node, key):
    matches = [c for c in node.children if c.key == key]
    if len(matches) != 1:
        raise Malformed(f"{node.key!r} holds {len(matches)} nodes {key!r}, expected 1")
    return matches[0]


FIXED_FILE_INFO = "<13I"
FIXED_FILE_INFO_SIGNATURE = 0xFEEF04BD
FIXED_FIELDS = ["signature", "struct version", "file version MS", "file version LS",
                "product version MS", "product version LS", "flags mask", "file flags",
                "file OS", "file type", "file subtype", "file date MS", "file date LS"]
EXPECTED_FIXED = {"signature": FIXED_FILE_INFO_SIGNATURE,
                  "file version MS": 0, "file version LS": 16,  # 0.0.0.16
                  "product version MS": 0, "product version LS": 0,  # 0.0.0.0
                  "file flags": 0, "file OS": 0, "file type": 0}


def check_fixed_file_info(build):
    root = version_block(build)
    problems = []
    if root.key != "VS_VERSION_INFO" or root.type != VERSION_BINARY:
        problems.append(f"the version block is {root.key!r} of type {root.type}, "
                        f"expected binary 'VS_VERSION_INFO'")
    if sorted(c.key for c in root.children) != ["StringFileInfo", "VarFileInfo"]:
        problems.append(f"the version block holds {[c.key for c in root.children]}, "
                        f"expected StringFileInfo and VarFileInfo")
    if len(root.value) != struct.calcsize(FIXED_FILE_INFO):
        return "", problems + [f"VS_FIXEDFILEINFO has {len(root.value)} bytes, expected 52"]
    fields = dict(zip(FIXED_FIELDS, struct.unpack(FIXED_FILE_INFO, root.value)))
    problems += [f"{name} is {fields[name]:#x}, expected {value:#x}"
                 for name, value in EXPECTED_FIXED.items() if fields[name] != value]
    return "file version {}.{}.{}.{}, product version {}.{}.{}.{}".format(
        *version_quad(fields, "file"), *version_quad(fields, "product")), problems


def version_quad(fields, kind):
    high, low = fields[f"{kind} version MS"], fields[f"{kind} version LS"]
    return high >> 16, high & 0xFFFF, low >> 16, low & 0xFFFF


GERMAN_UNICODE = (0x0407, 0x04B0)
STRING_TABLE = "040704b0"


def check_translation(build):
    translation = child(child(version_block(build), "VarFileInfo"), "Translation")
    if translation.type != VERSION_BINARY or len(translation.value) % 4:
        return "", [f"Translation is of type {translation.type} "
                    f"with {len(translation.value)} bytes"]
    pairs = list(struct.iter_unpack("<HH", translation.value))
    note = "translation " + ", ".join(f"{language:#06x} {code_page:#06x}"
                                      for language, code_page in pairs)
    return note, [] if pairs == [GERMAN_UNICODE] else [
        f"{note}, expected exactly {GERMAN_UNICODE[0]:#06x} {GERMAN_UNICODE[1]:#06x}"]


EXPECTED_STRINGS = {"ProductVersion": "0.16", "FileVersion": "13.01.2015",
                    "OriginalFilename": "brinemark.exe"}
NAMED_STRINGS = ["CompanyName", "FileDescription", "InternalName", "LegalCopyright", "ProductName"]


def check_string_table(build):
    table = only_child(child(version_block(build), "StringFileInfo"), STRING_TABLE)
    keys = [entry.key for entry in table.children]
    strings = {entry.key: text_value(entry)
               for entry in table.children if entry.type == VERSION_TEXT}
    problems = [f"{key} appears {keys.count(key)} times"
                for key in sorted(set(keys)) if keys.count(key) > 1]
    problems += [f"{key} is not text" for key in keys if key not in strings]
    problems += [f"{key} is {strings.get(key)!r}, expected {value!r}"
                 for key, value in EXPECTED_STRINGS.items() if strings.get(key) != value]
    problems += [f"{key} is missing or empty" for key in NAMED_STRINGS if not strings.get(key)]
    return f"table {STRING_TABLE}: " + ", ".join(f"{k}={v!r}" for k, v in strings.items()), problems


ICON_SIZES = [16, 24, 32, 48, 64, 256]
ICON_BITS = 32
PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"
PNG_RGBA = 6
IconEntry = namedtuple("IconEntry", "width height bits size icon_id")


def check_icon(build):
    groups = of_type(build, RT_GROUP_ICON)
    if len(groups) != 1:
        return "", [f"{len(groups)} RT_GROUP_ICON resources, expected exactly 1"]
    entries = icon_entries(Reader(groups[0].data, "the icon group"))
    images = {r.name: r.data for r in of_type(build, RT_ICON)}
    problems = [] if sorted(e.width for e in entries) == ICON_SIZES else [
        f"the icon has sizes {[e.width for e in entries]}, expected exactly {ICON_SIZES}"]
    for entry in entries:
        problems += check_icon_image(entry, images.get(entry.icon_id))
    return "sizes " + ", ".join(f"{e.width}/{e.bits}" for e in entries), problems


def icon_entries(group):
    reserved, kind, count = group.unpack("<HHH", 0, "icon group header")
    if (reserved, kind) != (0, 1):
        raise Malformed(f"the icon group header reads {reserved}, {kind}, expected 0, 1")
    entries = []
    for i in range(count):
        width, height, _, _, _, bits, size, icon_id = group.unpack(
            "<BBBBHHIH", 6 + 14 * i, "icon group entry")
        entries.append(IconEntry(width or 256, height or 256, bits, size, icon_id))
    return entries


def check_icon_image(entry, data):
    label = f"the {entry.width} px icon (id {entry.icon_id})"
    if data is None:
        return [f"{label} has no RT_ICON resource"]
    problems = [] if (entry.height, entry.bits) == (entry.width, ICON_BITS) else [
        f"{label} is listed as {entry.width}x{entry.height} at {entry.bits} bits per pixel"]
    if entry.size != len(data):
        problems.append(f"{label} is listed with {entry.size} bytes but has {len(data)}")
    is_png = data.startswith(PNG_SIGNATURE)
    if entry.width == 256 and not is_png:
        problems.append(f"{label} is not stored as PNG")
    stored = (png_format if is_png else dib_format)(Reader(data, label))
    if stored != (entry.width, entry.width, ICON_BITS):
        width, height, bits = stored
        problems.append(f"{label} holds a {width}x{height} image at {bits} bits per pixel")
    return problems


def png_format(png):
    """(width, height, bits per pixel) from the PNG header; 8-bit RGBA counts as 32 bits."""
    length, chunk, width, height, depth, colour = png.unpack(">I4sIIBB", 8, "PNG header")
    if (length, chunk) != (13, b"IHDR"):
        raise Malformed("a PNG icon image does not start with its IHDR chunk")
    return width, height, depth * 4 if colour == PNG_RGBA else depth


def dib_format(dib):
    """(width, height, bits per pixel) from the bitmap header; its height covers colour and mask."""
    header_size, width, height, _, bits = dib.unpack("<IiiHH", 0, "icon bitmap header")
    if header_size != 40:
        raise Malformed(f"an icon bitmap header has {header_size} bytes, expected 40")
    return width, height // 2, bits


def check_file_size(build):
    limit = build.architecture.size_limit
    return f"{build.size} bytes, limit {limit}", [] if build.size < limit else [
        f"the file has {build.size} bytes, at or above the limit of {limit}"]


CHECKS = [
    ("PE format and machine", check_format),
    ("Windows GUI subsystem", check_subsystem),
    ("static and delay imports only from Known DLLs", check_imports),
    ("DYNAMIC_BASE, NX_COMPAT and relocations", check_hardening),
    ("one manifest, equal to the configured file", check_manifest_resource),
    ("manifest content", check_manifest_content),
    ("version block fixed file info", check_fixed_file_info),
    ("version block translation", check_translation),
    ("version block string table", check_string_table),
    ("icon", check_icon),
]


def checks_for(architecture, any_size):
    """The size limit holds only for the architecture that ships, in the build that ships."""
    limited = architecture.size_limit and not any_size
    return CHECKS + ([("file size", check_file_size)] if limited else [])


def run_check(label, check, build):
    """Prints the check's line; returns whether it passed."""
    try:
        note, problems = check(build)
    except Malformed as error:
        note, problems = "", [str(error)]
    if problems:
        for problem in problems:
            print(f"FAIL {label}: {problem}")
        return False
    print(f"ok   {label}: {note}")
    return True


def load_build(exe_path, architecture, manifest_path):
    with open(exe_path, "rb") as exe:
        data = exe.read()
    with open(manifest_path, "rb") as manifest:
        expected_manifest = manifest.read()
    return Build(exe_path, len(data), PeImage(data), architecture, manifest_path, expected_manifest)


def main(arguments):
    any_size = arguments[3:] == ["--any-size"]
    if len(arguments) != 3 + any_size or arguments[1].lower() not in ARCHITECTURES:
        print(f"usage: inspect_pe.py EXE {{{'|'.join(ARCHITECTURES)}}} MANIFEST [--any-size]",
              file=sys.stderr)
        return 2
    exe_path, manifest_path = arguments[0], arguments[2]
    architecture = ARCHITECTURES[arguments[1].lower()]
    try:
        build = load_build(exe_path, architecture, manifest_path)
    except (OSError, Malformed) as error:
        print(f"FAIL {exe_path}: {error}")
        return 2
    passed = [run_check(label, check, build) for label, check in checks_for(architecture, any_size)]
    print(f"{exe_path}: {passed.count(True)} of {len(passed)} checks passed")
    return 0 if all(passed) else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
