// Measures what the installation's waiting loop costs its worker under Wine, with none of the
// installer's own code: a worker thread decodes bzip2 streams, or creates small files the way
// the installer does, while the window thread either spins (PeekMessage, TranslateMessage,
// DispatchMessage, then the status, never sleeping) or sleeps until the worker is done.
// What the spinning run costs over the sleeping one is the floor under setup.exe's times.
// Prints "SECONDS PASSES", the passes being the waiting loop's turns.
// Usage: wait_floor spin|sleep decode STREAM...
//        wait_floor spin|sleep files FOLDER COUNT
#include <bzlib.h>
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <thread>
#include <vector>

namespace {

const DWORD blockSize = 1 << 20;
const int filesPerFolder = 100;
const DWORD smallFileSize = 1000;

// Decodes every stream of the file, as bzip2 -dc does with concatenated streams, and drops
// the output. True only if the file ends just after a complete stream.
bool DecodeFile(const wchar_t *name)
{
    HANDLE file = CreateFileW(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::vector<char> input(blockSize), output(blockSize);
    bz_stream stream = {};
    bool ok = BZ2_bzDecompressInit(&stream, 0, 0) == BZ_OK;
    bool atStreamEnd = false;
    // A full output block may leave decoded data behind, so input is read only once the
    // decoder has given out all it holds.
    bool needInput = true;
    while (ok) {
        if (stream.avail_in == 0 && needInput) {
            DWORD got = 0;
            if (!ReadFile(file, input.data(), blockSize, &got, nullptr)) {
                ok = false;
                break;
            }
            if (got == 0) break;
            stream.next_in = input.data();
            stream.avail_in = got;
        }
        stream.next_out = output.data();
        stream.avail_out = blockSize;
        int status = BZ2_bzDecompress(&stream);
        if (status == BZ_STREAM_END) {
            // Another stream may follow in what was read.
            char *rest = stream.next_in;
            unsigned restLength = stream.avail_in;
            BZ2_bzDecompressEnd(&stream);
            stream = {};
            ok = BZ2_bzDecompressInit(&stream, 0, 0) == BZ_OK;
            stream.next_in = rest;
            stream.avail_in = restLength;
            atStreamEnd = true;
            needInput = true;
        } else if (status == BZ_OK) {
            atStreamEnd = false;
            needInput = stream.avail_out != 0;
        } else {
            ok = false;
        }
    }
    BZ2_bzDecompressEnd(&stream);
    CloseHandle(file);
    return ok && atStreamEnd;
}

// The installer's calls for one small file: create, one write, close.
bool CreateSmallFiles(const std::wstring &folder, int count)
{
    std::vector<char> content(smallFileSize, 'x');
    if (!CreateDirectoryW(folder.c_str(), nullptr)) return false;
    std::wstring subfolder;
    for (int k = 0; k < count; ++k) {
        if (k % filesPerFolder == 0) {
            subfolder = folder + L"\\" + std::to_wstring(k / filesPerFolder);
            if (!CreateDirectoryW(subfolder.c_str(), nullptr)) return false;
        }
        std::wstring name = subfolder + L"\\file" + std::to_wstring(k) + L".txt";
        HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        DWORD done = 0;
        bool written =
            WriteFile(file, content.data(), smallFileSize, &done, nullptr) && done == smallFileSize;
        if (!CloseHandle(file) || !written) return false;
    }
    return true;
}

// A window like the wizard's, so the waiting thread has a queue and a display to serve.
HWND MakeWindow()
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"WaitFloor";
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassW(&windowClass);
    return CreateWindowExW(0, L"WaitFloor", L"Wait floor", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 480, 360,
                           nullptr, nullptr, windowClass.hInstance, nullptr);
}

void Dispatch(MSG &message)
{
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

int Usage()
{
    std::fprintf(stderr, "usage: wait_floor spin|sleep decode STREAM...\n"
                         "       wait_floor spin|sleep files FOLDER COUNT\n");
    return 2;
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    if (argc < 4) return Usage();
    const bool spin = std::wcscmp(argv[1], L"spin") == 0;
    if (!spin && std::wcscmp(argv[1], L"sleep") != 0) return Usage();
    const bool decode = std::wcscmp(argv[2], L"decode") == 0;
    if (!decode && (std::wcscmp(argv[2], L"files") != 0 || argc != 5)) return Usage();
    const int count = decode ? 0 : std::wcstol(argv[4], nullptr, 10);
    if (!decode && count <= 0) return Usage();

    if (!MakeWindow()) {
        std::fprintf(stderr, "wait_floor: no window\n");
        return 1;
    }
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) Dispatch(message);

    HANDLE finished = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<bool> done(false);
    bool ok = true;
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    std::thread worker([&] {
        if (decode) {
            for (int k = 3; k < argc && ok; ++k) ok = DecodeFile(argv[k]);
        } else {
            ok = CreateSmallFiles(argv[3], count);
        }
        done = true;
        SetEvent(finished);
    });
    long long passes = 0;
    if (spin) {
        for (;; ++passes) {
            if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) Dispatch(message);
            if (done) break;
        }
    } else {
        while (MsgWaitForMultipleObjects(1, &finished, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
            ++passes;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) Dispatch(message);
        }
    }
    QueryPerformanceCounter(&end);
    worker.join();
    CloseHandle(finished);
    if (!ok) {
        std::fprintf(stderr, "wait_floor: %s failed\n", decode ? "decoding" : "creating the files");
        return 1;
    }
    std::printf("%.3f %lld\n", static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart,
                passes);
    return 0;
}
