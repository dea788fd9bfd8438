// The mod publisher of "-publisher": a window listing the user's published workshop mods, from
// which a mod is published anew, updated or opened on the community site.
#pragma once

#include <cstdint>
#include <string>

#include "core/shell/workshop.h"

// The community page of a published file.
std::string WorkshopPageAddress(uint64_t workshopId);

// The refusals of a publication, shown with the OK button.
extern const char* const kPublishNotAnArchive;
extern const char* const kPublishNoModXml;
extern const char* const kPublishBadPreview;

// Reads the description of the mod in the archive at `contentPath` (mounted and unmounted
// again). "" and the record when it holds one, else the refusal to show.
std::string ReadModToPublish(const std::string& contentPath, ModRecord* mod);
// "" when the file at `previewPath` decodes as a picture, else the refusal to show.
std::string CheckPreview(const std::string& previewPath);

// What a left-button release does on the publisher's list screen.
enum class PublisherAction { None, OpenPage, New, Update, Exit };
struct PublisherState {
    int32_t selected = -1;
    int32_t scroll = 0;
};
PublisherAction PublisherRelease(PublisherState& state, int32_t x, int32_t y);

// The publisher window; returns when it is closed or left.
void RunModPublisher();
// Publishes (no mod) or updates (a mod and its file entry) one mod, keeping the caption, then
// reads the published list afresh.
void RunPublishDialog(const ModRecord* mod, const WorkshopFileEntry* entry);
