#include "bundle/bundle_writer.h"

#include "bundle/bundle_format.h"

#include <algorithm>
#include <fstream>

namespace fs = std::filesystem;

namespace {

const size_t copyChunk = 1 << 20;

std::string Shown(const fs::path &path)
{
    return path.string();
}

// The name's units as the table keeps them.
std::string StoredBytes(const std::u16string &name)
{
    std::string bytes;
    for (char16_t unit : name) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

std::u16string Folded(std::u16string name)
{
    for (char16_t &unit : name)
        if (unit >= u'a' && unit <= u'z') unit = static_cast<char16_t>(unit - u'a' + u'A');
    return name;
}

std::string Number(uint64_t value, int width)
{
    std::string bytes(static_cast<size_t>(width), '\0');
    PutNumber(reinterpret_cast<uint8_t *>(&bytes[0]), value, width);
    return bytes;
}

// The payload's head: the counts and the table.
std::string PayloadHead(const std::vector<BundleFile> &files)
{
    std::string table;
    for (const BundleFile &file : files)
        table += Number(file.size, 8) + Number(file.name.size(), 2) + StoredBytes(file.name);
    return Number(files.size(), 4) + Number(table.size(), 4) + table;
}

class BundleStream {
public:
    explicit BundleStream(const fs::path &path) : stream(path, std::ios::binary | std::ios::trunc) {}
    bool Good() const { return static_cast<bool>(stream); }
    void Write(const std::string &bytes, bool payload)
    {
        stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (payload) digest.Update(bytes.data(), bytes.size());
        written += bytes.size();
    }
    uint64_t Written() const { return written; }
    void Finish(uint8_t *bytes) { digest.Finish(bytes); }
    bool Close()
    {
        stream.close();
        return static_cast<bool>(stream);
    }

private:
    std::ofstream stream;
    Sha256 digest;
    uint64_t written = 0;
};

bool CopyFile(BundleStream &bundle, const BundleFile &file, std::string &error)
{
    std::ifstream source(file.source, std::ios::binary);
    std::string chunk(copyChunk, '\0');
    uint64_t left = file.size;
    while (source && left > 0) {
        size_t wanted = static_cast<size_t>(std::min<uint64_t>(left, copyChunk));
        source.read(&chunk[0], static_cast<std::streamsize>(wanted));
        size_t got = static_cast<size_t>(source.gcount());
        bundle.Write(chunk.substr(0, got), true);
        left -= got;
    }
    // A file that grew or shrank since it was listed would not match the table.
    if (left > 0 || source.peek() != std::char_traits<char>::eof()) {
        error = Shown(file.source) + ": cannot be read in full, or changed while it was stored";
        return false;
    }
    return true;
}

} // namespace

bool CollectBundleFiles(const fs::path &folder, const fs::path &leaveOut, std::vector<BundleFile> &files,
                        std::string &error)
{
    std::error_code code;
    fs::path skipped = fs::weakly_canonical(leaveOut, code);
    files.clear();
    for (fs::recursive_directory_iterator it(folder, code); !code && it != fs::recursive_directory_iterator();
         it.increment(code)) {
        std::error_code kind;
        if (!it->is_regular_file(kind) || fs::weakly_canonical(it->path(), kind) == skipped) continue;
        BundleFile file;
        file.source = it->path();
        file.size = it->file_size(kind);
        try {
            for (const fs::path &level : fs::relative(it->path(), folder))
                file.name += (file.name.empty() ? u"" : u"\\") + level.u16string();
        } catch (const std::exception &) {
            error = Shown(it->path()) + ": its name cannot be read as Unicode text";
            return false;
        }
        std::string stored = StoredBytes(file.name);
        if (kind || !IsBundleName(reinterpret_cast<const uint8_t *>(stored.data()),
                                  static_cast<uint32_t>(file.name.size()))) {
            error = Shown(it->path()) + ": a bundle cannot hold this name (longer than " +
                    std::to_string(mostNameUnits) + " characters, or one Windows allows for no file)";
            return false;
        }
        files.push_back(file);
    }
    if (code) {
        error = Shown(folder) + ": cannot be read: " + code.message();
        return false;
    }
    std::sort(files.begin(), files.end(),
              [](const BundleFile &a, const BundleFile &b) { return Folded(a.name) < Folded(b.name); });
    for (size_t k = 1; k < files.size(); ++k) {
        if (Folded(files[k - 1].name) == Folded(files[k].name)) {
            error = Shown(files[k - 1].source) + " and " + Shown(files[k].source) +
                    ": Windows takes the two names for one";
            return false;
        }
    }
    if (files.empty() || files.size() > mostBundleFiles) {
        error = Shown(folder) + ": a bundle holds 1 to " + std::to_string(mostBundleFiles) + " files, not " +
                std::to_string(files.size());
        return false;
    }
    return true;
}

bool BundleLauncher(std::string &bytes, std::string &error)
{
    const uint8_t *head = reinterpret_cast<const uint8_t *>(bytes.data());
    size_t entryAt = 0;
    uint64_t end = 0;
    if (CertificateEntry(head, bytes.size(), entryAt) != BundleFault::none ||
        SignedContentEnd(head, bytes.size(), bytes.size(), end) != BundleFault::none) {
        error = "the launcher is no Windows program, or its signature lies beyond its end";
        return false;
    }
    BundleTrailer trailer;
    uint64_t payloadStart = 0;
    if (end >= bundleTrailerSize &&
        ReadTrailer(head + end - bundleTrailerSize, end, trailer, payloadStart) == BundleFault::none) {
        error = "the launcher is a bundle already";
        return false;
    }
    bytes.resize(static_cast<size_t>(end));
    if (entryAt != 0)
        std::fill(bytes.begin() + static_cast<std::ptrdiff_t>(entryAt),
                  bytes.begin() + static_cast<std::ptrdiff_t>(entryAt + 8), '\0');
    return true;
}

bool WriteBundle(const std::string &launcher, const std::vector<BundleFile> &files, const fs::path &out,
                 std::string &error)
{
    std::string head = PayloadHead(files);
    PayloadHeader header;
    uint64_t payloadSize = head.size();
    for (const BundleFile &file : files) payloadSize += file.size;
    std::string padding(
        (bundleAlignment - (launcher.size() + payloadSize) % bundleAlignment) % bundleAlignment, '\0');
    payloadSize += padding.size();
    // What the launcher will judge, judged before a byte is written.
    if (ReadPayloadHeader(reinterpret_cast<const uint8_t *>(head.data()), payloadSize, header) !=
            BundleFault::none ||
        PayloadTable(reinterpret_cast<const uint8_t *>(head.data()) + payloadHeaderSize, header)
                .Check(payloadSize) != BundleFault::none) {
        error = "the files do not fit a bundle's table";
        return false;
    }
    fs::path partial = out;
    partial += ".partial";
    BundleStream bundle(partial);
    bool written = bundle.Good();
    if (written) {
        bundle.Write(launcher, false);
        bundle.Write(head, true);
        for (const BundleFile &file : files) written = written && CopyFile(bundle, file, error);
        bundle.Write(padding, true);
        BundleTrailer trailer;
        trailer.payloadSize = payloadSize;
        bundle.Finish(trailer.digest);
        std::string end(bundleTrailerSize, '\0');
        WriteTrailer(trailer, reinterpret_cast<uint8_t *>(&end[0]));
        bundle.Write(end, false);
    }
    bool closed = bundle.Close();
    std::error_code code;
    if (written && closed) fs::rename(partial, out, code);
    if (written && closed && !code) return true;
    if (error.empty()) error = Shown(out) + ": cannot be written" + (code ? ": " + code.message() : "");
    std::error_code ignored;
    fs::remove(partial, ignored);
    return false;
}
