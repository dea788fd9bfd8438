// The start-up step of the cloud copies: the user folder and the cloud are brought together,
// each file taking the side that changed since they last agreed.
#pragma once

#include <cstdint>

#include "store_platform/cloud_sync_record.h"

// Run once after the art is loaded and the random generators are seeded. With the clear-cloud
// request (which it clears) it first asks, and on yes empties the cloud. Then, for every user
// file the cloud mirrors (the last build, the high scores, the save index, the saves and their
// thumbnails), the sync record (cloud_sync_record.h) tells which side changed since the last
// copy, and that side's file is copied to the other: a newer local file is uploaded, never
// replaced. A save or thumbnail the cloud lost since the last copy, and that is unchanged here,
// was deleted in another user folder and is deleted here too; one deleted here is deleted in
// the cloud. A new or emptied cloud is seeded from the local files. When both indexes changed,
// the save index keeps every save either lists (except the deleted ones).
void InitSteamCloud(bool& clearCloud);

// One side of a user file: present or not, its contents' hash (a cloud file's as its header
// states it), a file that is there but cannot be read or is no cloud copy of a user file
// (`broken`, with `present`), the time of its last write.
struct CloudSyncSide {
    bool present = false;
    bool broken = false;
    CloudFileHash hash;
    int64_t time = 0;
};

enum class CloudSyncStep { Keep, Download, Upload, DeleteLocal, DeleteCloud };

// What the start-up sync does with one user file, given both sides and the record of the last
// copy (null when there is none). Only saves and thumbnails are `deletable`: the other user
// files are copied to the side that lacks them. When both sides changed, the later write wins,
// the local file on a tie. An empty cloud file never replaces a local file with contents, nor
// an empty local save or thumbnail the cloud's copy with contents (it is restored). A
// broken local file is kept and nothing is copied; a broken cloud file is replaced by the local
// file, and neither is ever taken for a deleted one.
CloudSyncStep DecideCloudSyncStep(const CloudSyncSide& local, const CloudSyncSide& cloud,
                                  const CloudSyncRecord::Entry* last, bool deletable);
