// Making a bundle: the launcher, a package folder's files stored as they are (the archives are
// compressed already), and the trailer that vouches for them. `tsa bundle` and `tsa new
// --bundle` come here.
#ifndef SETUP_BUNDLE_BUNDLE_WRITER_H
#define SETUP_BUNDLE_BUNDLE_WRITER_H

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct BundleFile {
    std::filesystem::path source;
    std::u16string name; // as stored: below the package folder, "\" between levels
    uint64_t size = 0;
};

// Every file below folder, at any depth, in the order of their stored names, but leaveOut
// (the bundle itself, when it is written into the folder). False with the reason in error for
// a name the launcher would refuse or two names Windows would take for one.
bool CollectBundleFiles(const std::filesystem::path &folder, const std::filesystem::path &leaveOut,
                        std::vector<BundleFile> &files, std::string &error);

// The launcher as a bundle starts with it: a signature of its own is cut off and its entry
// cleared, since the bundle is signed whole; a launcher that is already a bundle is refused.
bool BundleLauncher(std::string &bytes, std::string &error);

// Writes launcher and files as one bundle. The file is made under another name beside out and
// takes its place only when complete, so a failed run leaves the old one as it was.
bool WriteBundle(const std::string &launcher, const std::vector<BundleFile> &files,
                 const std::filesystem::path &out, std::string &error);

#endif
