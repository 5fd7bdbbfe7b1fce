// A folder of the user's temporary folder that belongs to this run alone: made new, so no
// other run shares it or has planted anything in it, and removed with what it holds.
#ifndef SETUP_TOOLS_PRIVATE_FOLDER_H
#define SETUP_TOOLS_PRIVATE_FOLDER_H

#include <filesystem>

class PrivateFolder {
public:
    PrivateFolder();
    ~PrivateFolder();
    PrivateFolder(const PrivateFolder &) = delete;
    PrivateFolder &operator=(const PrivateFolder &) = delete;

    // Empty when no folder could be made.
    const std::filesystem::path &Path() const { return path; }

private:
    std::filesystem::path path;
};

#endif
