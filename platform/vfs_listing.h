// Answering many existence questions about the data tree from folder listings.
#pragma once

#include <string>

// While one lives (on any thread, one at a time), VfsExists and VfsResolveName answer from a
// listing of each folder they look into, read once, instead of asking every mounted folder
// and archive about every name: a loader that checks hundreds of picture names then reads a
// handful of folders. The answers are the same as without it as long as the tree does not
// change meanwhile; mounting or unmounting while it lives is not allowed, and files written
// under a mounted folder meanwhile may go unseen. Scopes do not nest: an inner one does
// nothing.
class VfsListingScope {
public:
    VfsListingScope();
    ~VfsListingScope();
    VfsListingScope(const VfsListingScope&) = delete;
    VfsListingScope& operator=(const VfsListingScope&) = delete;

private:
    bool owner_;
};

// The name resolved from the listings (as VfsResolveName resolves it): true with *found set
// ("" when nothing matches) while a scope lives, false (nothing done) otherwise. `clean` is a
// normalised, non-empty name.
bool ResolveFromListings(const std::string& clean, std::string* found);
