#include "platform/AtomicFile.h"
#include "platform/AtomicFileFaults.h"

#include "platform/TemporaryName.h"
#include "platform/WinSeam_win32.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

namespace platform {
namespace {

bool Fail(std::string* errorText, const std::wstring& what, DWORD error)
{
    if (errorText)
        *errorText = win::ToUtf8(what) + ": " + win::ErrorText(error);
    return false;
}

std::wstring FolderOf(const std::wstring& path)
{
    const auto slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

bool WriteAll(HANDLE file, const char* data, std::size_t size, DWORD& error)
{
    while (size > 0) {
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file, data, want, &written, nullptr)) {
            error = ::GetLastError();
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

// The file that a link at the path leads to; the path itself when it is no link.
std::wstring FinalPath(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return path;
    const HANDLE file = ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return path;
    std::wstring final(MAX_PATH, L'\0');
    DWORD length = ::GetFinalPathNameByHandleW(file, final.data(), static_cast<DWORD>(final.size()), 0);
    if (length >= final.size()) {
        final.resize(length);
        length = ::GetFinalPathNameByHandleW(file, final.data(), static_cast<DWORD>(final.size()), 0);
    }
    ::CloseHandle(file);
    if (length == 0 || length >= final.size())
        return path;
    final.resize(length);
    return final;
}

} // namespace

struct AtomicFileWriter::State
{
    std::wstring requestedName; // the last part of the path as given
    std::wstring target;
    std::wstring temp;
    HANDLE file = INVALID_HANDLE_VALUE;
    Link link = Link::Follow;
    bool targetExists = false; // a file or, with Link::Replace, a link is there
    DWORD targetAttributes = 0;
    SyncPolicy sync = SyncPolicy::Always;
    bool setTimes = false;
    FILETIME access{};
    FILETIME lastWrite{};
};

AtomicFileWriter::AtomicFileWriter(std::string targetPath, Link link) : m_state(std::make_unique<State>())
{
    m_state->link = link;
    m_state->target = win::ExtendedPath(targetPath);
    if (link == Link::Follow)
        m_state->target = FinalPath(m_state->target);
    const auto slash = targetPath.find_last_of("\\/");
    m_state->requestedName =
        win::ToWide(slash == std::string::npos ? targetPath : targetPath.substr(slash + 1));
}

AtomicFileWriter::~AtomicFileWriter()
{
    Discard();
}

void AtomicFileWriter::SetSyncPolicy(SyncPolicy policy)
{
    m_state->sync = policy;
}

std::string AtomicFileWriter::TemporaryPath() const
{
    return win::ToUtf8(m_state->temp);
}

bool AtomicFileWriter::Open(std::string* errorText)
{
    Discard();
    State& s = *m_state;
    s.targetExists = false;
    // A device ("CON", "aux.ppt") or a name that the system would cut short is no
    // file of the folder: writing there would reach something else.
    if (!s.target.starts_with(L"\\\\?\\") || win::IsUnusableFileName(s.requestedName))
        return Fail(errorText, s.target, ERROR_INVALID_NAME);
    WIN32_FILE_ATTRIBUTE_DATA info;
    if (::GetFileAttributesExW(s.target.c_str(), GetFileExInfoStandard, &info)) {
        // A link to a folder is replaced like a link to a file; a folder is refused.
        const bool link = s.link == Link::Replace && (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
        if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !link)
            return Fail(errorText, s.target, ERROR_DIRECTORY);
        if (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
            return Fail(errorText, s.target, ERROR_ACCESS_DENIED);
        s.targetExists = true;
        s.targetAttributes = info.dwFileAttributes;
    } else if (const DWORD error = ::GetLastError(); error != ERROR_FILE_NOT_FOUND) {
        return Fail(errorText, s.target, error);
    }

    if (FaultInjected(AtomicWriteStep::Create))
        return Fail(errorText, s.target, ERROR_WRITE_FAULT);

    // Same folder, so that the rename stays on one volume. The target's name is
    // left out: with it a long name would exceed the length limit.
    const std::wstring stem = FolderOf(s.target) + L"\\" + win::ToWide(kTemporaryFilePrefix);
    for (int attempt = 0; attempt < 100; ++attempt) {
        wchar_t suffix[16];
        std::swprintf(suffix, 16, L"%08x", TemporaryNameNumber());
        const std::wstring candidate = stem + suffix + L".tmp";
        const HANDLE file =
            ::CreateFileW(candidate.c_str(), GENERIC_WRITE | GENERIC_READ | DELETE, FILE_SHARE_READ, nullptr,
                          CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            s.file = file;
            s.temp = candidate;
            return true;
        }
        if (const DWORD error = ::GetLastError(); error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            return Fail(errorText, candidate, error);
    }
    return Fail(errorText, stem, ERROR_FILE_EXISTS);
}

bool AtomicFileWriter::Write(std::string_view chunk, std::string* errorText)
{
    State& s = *m_state;
    if (s.file == INVALID_HANDLE_VALUE)
        return Fail(errorText, s.target, ERROR_INVALID_HANDLE);
    DWORD error = 0;
    if (FaultInjected(AtomicWriteStep::Write)) {
        WriteAll(s.file, chunk.data(), chunk.size() / 2, error);
        Discard();
        return Fail(errorText, s.target, ERROR_DISK_FULL);
    }
    if (!WriteAll(s.file, chunk.data(), chunk.size(), error)) {
        Discard();
        return Fail(errorText, s.target, error);
    }
    return true;
}

bool AtomicFileWriter::PrepareCommit(std::string* errorText)
{
    State& s = *m_state;
    if (s.file == INVALID_HANDLE_VALUE)
        return Fail(errorText, s.target, ERROR_INVALID_HANDLE);
    // Set last: every write changes the last-write time.
    if (s.setTimes && !::SetFileTime(s.file, nullptr, &s.access, &s.lastWrite)) {
        const DWORD error = ::GetLastError();
        Discard();
        return Fail(errorText, s.temp, error);
    }
    return true;
}

// The temporary file is closed only here: while it is open, no one else can delete
// it, which tells a running write from a left-over one.
bool AtomicFileWriter::FinishCommit(bool, std::string* errorText)
{
    State& s = *m_state;
    ::CloseHandle(s.file);
    s.file = INVALID_HANDLE_VALUE;
    if (FaultInjected(AtomicWriteStep::Rename)) {
        Discard();
        return Fail(errorText, s.target, ERROR_WRITE_FAULT);
    }
    // The replace keeps what belongs to the old file (creation time, permissions);
    // a link is replaced itself, never the file it leads to. Where the replace is
    // not to be had (some shares), the plain rename does the job.
    const bool replaced =
        s.targetExists && !(s.targetAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
        ::ReplaceFileW(s.target.c_str(), s.temp.c_str(), nullptr,
                       REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr, nullptr);
    if (!replaced && !::MoveFileExW(s.temp.c_str(), s.target.c_str(),
                                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = ::GetLastError();
        Discard();
        return Fail(errorText, s.target, error);
    }
    s.temp.clear();
    // A hidden or system file stays so. The content is in place already, so this
    // is no reason to report a failure.
    constexpr DWORD kKept =
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    if (s.targetExists && (s.targetAttributes & kKept) &&
        !(s.targetAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        ::SetFileAttributesW(s.target.c_str(), (s.targetAttributes & kKept) | FILE_ATTRIBUTE_ARCHIVE);
    return true;
}

namespace {

// Flushes the temporary file's content to disk, as its sync policy asks; false
// (and the writer discarded) when that fails.
bool Flush(AtomicFileWriter& writer, HANDLE file, bool sync, const std::wstring& temp, std::string* errorText)
{
    const DWORD error = FaultInjected(AtomicWriteStep::Sync) ? ERROR_WRITE_FAULT
                        : sync && !::FlushFileBuffers(file)  ? ::GetLastError()
                                                             : 0;
    if (error == 0)
        return true;
    writer.Discard();
    return Fail(errorText, temp, error);
}

} // namespace

bool AtomicFileWriter::Commit(std::string* errorText)
{
    State& s = *m_state;
    if (!PrepareCommit(errorText))
        return false;
    const bool sync = s.sync == SyncPolicy::Always || s.targetExists;
    return Flush(*this, s.file, sync, s.temp, errorText) && FinishCommit(sync, errorText);
}

void AtomicFileWriter::Discard()
{
    State& s = *m_state;
    if (s.file != INVALID_HANDLE_VALUE) {
        ::CloseHandle(s.file);
        s.file = INVALID_HANDLE_VALUE;
    }
    if (!s.temp.empty()) {
        ::DeleteFileW(s.temp.c_str());
        s.temp.clear();
    }
}

namespace {

FileCopyResult CopyFailed(CopyFailure failure, const std::wstring& what, DWORD error)
{
    FileCopyResult result{failure, {}};
    Fail(&result.errorText, what, error);
    return result;
}

std::uint64_t SizeOf(const BY_HANDLE_FILE_INFORMATION& info)
{
    return (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
}

bool SameTime(const FILETIME& a, const FILETIME& b)
{
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

// Whether the existing target is the source itself (the same file reached twice).
bool IsSameFile(const std::wstring& target, const BY_HANDLE_FILE_INFORMATION& source)
{
    const HANDLE file = ::CreateFileW(target.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION info;
    const bool ok = ::GetFileInformationByHandle(file, &info);
    ::CloseHandle(file);
    return ok && info.dwVolumeSerialNumber == source.dwVolumeSerialNumber &&
           info.nFileIndexHigh == source.nFileIndexHigh && info.nFileIndexLow == source.nFileIndexLow;
}

// A copy of the whole source into the writer's temporary file, checked for being
// complete. The writer is open; on failure the caller discards it.
FileCopyResult CopyInto(HANDLE in, const BY_HANDLE_FILE_INFORMATION& before, HANDLE out,
                        const std::wstring& sourcePath, const std::wstring& target, const std::string& source,
                        const FileCopyOptions& options)
{
    const std::optional<std::uint64_t> failAfter = CopyFaultFor(source);

    constexpr std::size_t kMinChunk = std::size_t{1} << 20;
    const std::size_t maxChunk = std::max(options.maxChunkSize, kMinChunk);
    std::size_t chunkSize = std::clamp(options.chunkSize, kMinChunk, maxChunk);
    const std::uint64_t total = SizeOf(before);
    std::uint64_t copied = 0;
    std::vector<char> buffer;
    for (;;) {
        // One byte past the size taken at the start is enough to tell that the
        // source grew; a file that keeps growing is never read to its end.
        std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(chunkSize, total - copied + 1));
        if (failAfter) {
            if (copied >= *failAfter)
                return CopyFailed(CopyFailure::TransferFailed, target, ERROR_DISK_FULL);
            want = static_cast<std::size_t>(std::min<std::uint64_t>(want, *failAfter - copied));
        }
        if (buffer.size() < want)
            buffer.resize(want);
        const auto started = std::chrono::steady_clock::now();
        DWORD got = 0;
        if (!::ReadFile(in, buffer.data(), static_cast<DWORD>(want), &got, nullptr))
            return CopyFailed(CopyFailure::TransferFailed, sourcePath, ::GetLastError());
        if (got == 0)
            break;
        DWORD error = 0;
        if (!WriteAll(out, buffer.data(), got, error))
            return CopyFailed(CopyFailure::TransferFailed, target, error);
        copied += got;
        if (copied > total)
            break;
        const auto took = std::chrono::steady_clock::now() - started;
        if (took < options.chunkTime && got == chunkSize)
            chunkSize = std::min(chunkSize * 2, maxChunk);
        else if (took > 4 * options.chunkTime)
            chunkSize = std::max(chunkSize / 2, kMinChunk);
        if (options.afterChunk)
            options.afterChunk(copied, total);
    }
    // An end of file before the size, bytes past it, or a source written meanwhile
    // (a share that dropped, a file being replaced on the server) give a copy that
    // would pass for current while it is not.
    BY_HANDLE_FILE_INFORMATION after;
    if (!::GetFileInformationByHandle(in, &after))
        return CopyFailed(CopyFailure::TransferFailed, sourcePath, ::GetLastError());
    if (copied != total || SizeOf(after) != total || !SameTime(after.ftLastWriteTime, before.ftLastWriteTime))
        return CopyFailed(CopyFailure::SourceChanged, sourcePath, ERROR_HANDLE_EOF);
    return {};
}

} // namespace

std::size_t ReplaceBatch::MostWaiting()
{
    // Open handles are limited only by memory.
    return 1024;
}

FileCopyResult ReplaceBatch::Copy(const std::string& source, const std::string& target,
                                  const FileCopyOptions& options)
{
    const std::wstring sourcePath = win::ExtendedPath(source);
    // A device or pipe is never opened: it could wait for ever or never end.
    if (sourcePath.starts_with(L"\\\\.\\"))
        return CopyFailed(CopyFailure::NotARegularFile, sourcePath, ERROR_INVALID_FUNCTION);
    const HANDLE in = ::CreateFileW(
        sourcePath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (in == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        return CopyFailed(error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                              ? CopyFailure::SourceMissing
                              : CopyFailure::SourceUnreadable,
                          sourcePath, error);
    }
    const win::HandleCloser closeSource(in);
    // The type is checked on what was opened, so a name swapped meanwhile cannot
    // slip through.
    BY_HANDLE_FILE_INFORMATION before;
    if (!::GetFileInformationByHandle(in, &before))
        return CopyFailed(CopyFailure::SourceUnreadable, sourcePath, ::GetLastError());
    if (before.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return CopyFailed(CopyFailure::SourceMissing, sourcePath, ERROR_DIRECTORY);
    if (::GetFileType(in) != FILE_TYPE_DISK || (before.dwFileAttributes & FILE_ATTRIBUTE_DEVICE))
        return CopyFailed(CopyFailure::NotARegularFile, sourcePath, ERROR_INVALID_FUNCTION);

    auto writer = std::make_unique<AtomicFileWriter>(target, AtomicFileWriter::Link::Replace);
    writer->SetSyncPolicy(options.sync);
    FileCopyResult result;
    if (!writer->Open(&result.errorText)) {
        result.failure = CopyFailure::TargetRefused;
        return result;
    }
    AtomicFileWriter::State& s = *writer->m_state;
    if (s.targetExists && IsSameFile(s.target, before))
        return CopyFailed(CopyFailure::SameFile, s.target, ERROR_ALREADY_EXISTS);

    result = CopyInto(in, before, s.file, sourcePath, s.target, source, options);
    if (!result.Succeeded())
        return result;
    s.setTimes = true;
    s.access = before.ftLastAccessTime;
    s.lastWrite = before.ftLastWriteTime;
    if (!writer->PrepareCommit(&result.errorText)) {
        result.failure = CopyFailure::TransferFailed;
        return result;
    }
    m_bytes += SizeOf(before);
    m_pending.push_back({std::move(writer), SizeOf(before)});
    return result;
}

// Not done here: the system has no hint that starts reading a file without a read
// that waits, so each source is read when its copy comes.
void ReplaceBatch::ReadAhead(const std::string&)
{}

void ReplaceBatch::ReleaseHeldSources()
{}

// Each file is flushed on its own: the system offers no flush of a whole volume
// to a program without administrator rights.
std::vector<FileCopyResult> ReplaceBatch::Commit()
{
    std::vector<Pending> pending = std::exchange(m_pending, {});
    m_bytes = 0;
    std::vector<FileCopyResult> results(pending.size());
    for (std::size_t i = 0; i < pending.size(); ++i) {
        AtomicFileWriter& writer = *pending[i].writer;
        const auto& s = *writer.m_state;
        const bool sync = s.sync == SyncPolicy::Always || s.targetExists;
        if (!Flush(writer, s.file, sync, s.temp, &results[i].errorText) ||
            !writer.FinishCommit(sync, &results[i].errorText))
            results[i].failure = CopyFailure::TransferFailed;
    }
    return results;
}

// A running writer keeps its temporary file open without leave to delete it, so
// only what an interrupted write left behind can go. The age is not needed here.
std::size_t RemoveStaleTemporaryFiles(const std::string& folder, std::chrono::seconds)
{
    std::wstring base = win::ExtendedPath(folder);
    if (!base.ends_with(L'\\'))
        base.push_back(L'\\');
    WIN32_FIND_DATAW data;
    const HANDLE find = ::FindFirstFileExW((base + win::ToWide(kTemporaryFilePrefix) + L"*").c_str(),
                                           FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    std::vector<std::wstring> candidates;
    do {
        if (!(data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)))
            candidates.push_back(data.cFileName);
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
    std::size_t removed = 0;
    for (const auto& name : candidates) {
        if (::DeleteFileW((base + name).c_str()))
            ++removed;
    }
    return removed;
}

} // namespace platform
