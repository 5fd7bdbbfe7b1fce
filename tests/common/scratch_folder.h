// A test's own folder: fresh and empty under the temporary directory, removed with everything in
// it afterwards. The engine tests, the library's tests and the UI driver's package folders all
// start from it.
#ifndef SETUP_TESTS_COMMON_SCRATCH_FOLDER_H
#define SETUP_TESTS_COMMON_SCRATCH_FOLDER_H

#include <filesystem>

namespace testsupport {

class ScratchFolder {
public:
    // Named <prefix>-<process>-<counter>, so runs of two builds and two folders of one test never
    // meet. Kept (and named on standard error) when SETUP_KEEP_PACKAGES is set.
    explicit ScratchFolder(const std::filesystem::path &prefix);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder &) = delete;
    ScratchFolder &operator=(const ScratchFolder &) = delete;

    // False when the folder could not be made.
    bool Ready() const { return ready; }
    const std::filesystem::path &Path() const { return path; }

private:
    std::filesystem::path path;
    bool ready = false;
};

} // namespace testsupport

#endif
