// Virtual file system helpers.
#include "platform/vfs.h"
#include "platform/vfs_listing.h"

#include <physfs.h>
#include <strings.h>

#include <cstdio>
#include <cstring>

namespace {

struct DataMount {
    std::string folder;
    std::string mountPoint;
    int append;
};

// The data tree, in search order of mounting: each expansion's "game" folder is reached under
// the expansion's own name, its other folders overlay the shared ones; the core archive goes in
// front of everything and the working directory is searched last.
std::vector<DataMount> DataTreeMounts() {
    static const char* const kExpansions[] = {"expansion", "expansion2", "expansion3"};
    static const char* const kFolders[] = {"dungeon", "items", "skills", "sprites", "sfx", "tilesets", "ui"};
    std::vector<DataMount> mounts;
    for (const char* expansion : kExpansions) {
        mounts.push_back({std::string(expansion) + "/game", "/" + std::string(expansion) + "/", 1});
        for (const char* folder : kFolders)
            mounts.push_back({std::string(expansion) + "/" + folder, "/" + std::string(folder) + "/", 1});
    }
    mounts.push_back({"zarnochcore.zip", "/", 0});
    mounts.push_back({".", "/", 1});
    return mounts;
}

// Backslashes become '/', doubled separators and leading/trailing ones are dropped.
std::string NormaliseVfsName(const std::string& name) {
    std::string out;
    out.reserve(name.size());
    for (char c : name) {
        if (c == '\\') c = '/';
        if (c == '/' && (out.empty() || out.back() == '/')) continue;
        out.push_back(c);
    }
    while (!out.empty() && out.back() == '/') out.pop_back();
    return out;
}

// Finds `part` ignoring case among the entries of `folder`; "" when absent.
std::string FindIgnoringCase(const std::string& folder, const std::string& part) {
    char** list = PHYSFS_enumerateFiles(folder.c_str());
    if (!list) return "";
    std::string match;
    for (char** entry = list; *entry; ++entry) {
        if (strcasecmp(*entry, part.c_str()) == 0 && (match.empty() || match > *entry)) match = *entry;
    }
    PHYSFS_freeList(list);
    return match;
}

}  // namespace

void MountDataTree() {
    if (!PHYSFS_isInit() && !PHYSFS_init(nullptr)) {
        printf("Unable to start the virtual file system: %s\n",
               PHYSFS_getErrorByCode(PHYSFS_getLastErrorCode()));
        return;
    }
    // A game folder may be put together from links (a mod kept elsewhere, a shared data folder):
    // the file system follows them instead of hiding what lies behind them.
    PHYSFS_permitSymbolicLinks(1);
    for (const DataMount& mount : DataTreeMounts()) {
        // A missing folder or archive is simply not part of the tree.
        PHYSFS_mount(mount.folder.c_str(), mount.mountPoint.c_str(), mount.append);
    }
}

std::string VfsResolveName(const std::string& name) {
    if (!PHYSFS_isInit()) return "";
    std::string clean = NormaliseVfsName(name);
    if (clean.empty()) return "";
    std::string listed;
    if (ResolveFromListings(clean, &listed)) return listed;
    if (PHYSFS_exists(clean.c_str())) return clean;

    std::string found;
    size_t pos = 0;
    while (pos < clean.size()) {
        size_t end = clean.find('/', pos);
        if (end == std::string::npos) end = clean.size();
        std::string part = clean.substr(pos, end - pos);
        pos = end + 1;
        std::string exact = found.empty() ? part : found + "/" + part;
        if (PHYSFS_exists(exact.c_str())) {
            found = exact;
            continue;
        }
        std::string match = FindIgnoringCase(found, part);
        if (match.empty()) return "";
        found = found.empty() ? match : found + "/" + match;
    }
    return found;
}

bool VfsReadFile(const std::string& name, std::vector<char>& out) {
    out.clear();
    if (!PHYSFS_isInit()) return false;
    // The usual case, a name as it is stored, takes one look-up; any other goes through
    // VfsResolveName (which answers the same for an exact name).
    std::string resolved = NormaliseVfsName(name);
    PHYSFS_Stat info;
    if (resolved.empty() || !PHYSFS_stat(resolved.c_str(), &info)) {
        resolved = VfsResolveName(name);
        if (resolved.empty()) return false;
        if (!PHYSFS_stat(resolved.c_str(), &info)) info.filetype = PHYSFS_FILETYPE_REGULAR;
    }
    if (info.filetype == PHYSFS_FILETYPE_DIRECTORY) return false;
    PHYSFS_File* file = PHYSFS_openRead(resolved.c_str());
    if (!file) return false;
    PHYSFS_sint64 length = PHYSFS_fileLength(file);
    bool ok = true;
    if (length >= 0) {
        out.resize(static_cast<size_t>(length));
        size_t done = 0;
        while (done < out.size()) {
            PHYSFS_sint64 got = PHYSFS_readBytes(file, out.data() + done, out.size() - done);
            if (got <= 0) break;
            done += static_cast<size_t>(got);
        }
        if (done != out.size()) ok = false;
    } else {
        // Length unknown: read until the end.
        char chunk[16384];
        for (;;) {
            PHYSFS_sint64 got = PHYSFS_readBytes(file, chunk, sizeof(chunk));
            if (got < 0) ok = false;
            if (got <= 0) break;
            out.insert(out.end(), chunk, chunk + got);
        }
    }
    PHYSFS_close(file);
    if (!ok) {
        printf("Could not read '%s' completely\n", resolved.c_str());
        out.clear();
    }
    return ok;
}

bool VfsExists(const std::string& name) {
    return !VfsResolveName(name).empty();
}
