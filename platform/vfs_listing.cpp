// Folder listings of the data tree, kept while a VfsListingScope lives.
#include "platform/vfs_listing.h"

#include <physfs.h>
#include <strings.h>

#include <mutex>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

// One folder's entries, as the file system enumerates them (every mount merged).
struct FolderListing {
    std::unordered_set<std::string> names;
    std::vector<std::string> all;
};

struct ListingCache {
    std::unordered_map<std::string, FolderListing> folders;
    // Names missing from their folder's listing, and whether the file system finds them all
    // the same: a folder reached through a link is not always listed whole.
    std::unordered_map<std::string, bool> unlisted;
};

bool ExistsUnlisted(ListingCache& cache, const std::string& path) {
    auto known = cache.unlisted.find(path);
    if (known != cache.unlisted.end()) return known->second;
    const bool exists = PHYSFS_exists(path.c_str()) != 0;
    cache.unlisted.emplace(path, exists);
    return exists;
}

// The sound loader reads on its own thread while start-up loads the databases, so every use of
// the cache holds the lock.
std::mutex CacheLock;
ListingCache* Cache = nullptr;

const FolderListing& ListingOf(ListingCache& cache, const std::string& folder) {
    auto known = cache.folders.find(folder);
    if (known != cache.folders.end()) return known->second;
    FolderListing& listing = cache.folders[folder];
    if (char** list = PHYSFS_enumerateFiles(folder.c_str())) {
        for (char** entry = list; *entry; ++entry) {
            listing.names.insert(*entry);
            listing.all.push_back(*entry);
        }
        PHYSFS_freeList(list);
    }
    return listing;
}

// The entry of the listing equal to `part` ignoring case; of several, the one that sorts
// first byte by byte. "" when none is.
std::string MatchIgnoringCase(const FolderListing& listing, const std::string& part) {
    std::string match;
    for (const std::string& entry : listing.all) {
        if (strcasecmp(entry.c_str(), part.c_str()) == 0 && (match.empty() || match > entry)) match = entry;
    }
    return match;
}

}  // namespace

VfsListingScope::VfsListingScope() {
    std::lock_guard<std::mutex> hold(CacheLock);
    owner_ = Cache == nullptr;
    if (owner_) Cache = new ListingCache;
}

VfsListingScope::~VfsListingScope() {
    if (!owner_) return;
    std::lock_guard<std::mutex> hold(CacheLock);
    delete Cache;
    Cache = nullptr;
}

bool ResolveFromListings(const std::string& clean, std::string* found) {
    std::lock_guard<std::mutex> hold(CacheLock);
    if (Cache == nullptr) return false;
    found->clear();
    size_t pos = 0;
    while (pos < clean.size()) {
        size_t end = clean.find('/', pos);
        if (end == std::string::npos) end = clean.size();
        const std::string part = clean.substr(pos, end - pos);
        pos = end + 1;
        const FolderListing& listing = ListingOf(*Cache, *found);
        std::string entry;
        if (listing.names.count(part) != 0 || ExistsUnlisted(*Cache, found->empty() ? part : *found + "/" + part)) {
            entry = part;
        } else {
            entry = MatchIgnoringCase(listing, part);
        }
        if (entry.empty()) {
            found->clear();
            return true;
        }
        if (!found->empty()) found->push_back('/');
        found->append(entry);
    }
    return true;
}
