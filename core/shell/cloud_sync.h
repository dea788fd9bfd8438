// The start-up step of the cloud copies: the cloud's user files replace the local ones.
#pragma once

// Run once after the art is loaded and the random generators are seeded. With the clear-cloud
// request (which it clears) it first asks, and on yes empties the cloud. Local user files the
// cloud lacks are uploaded; then every cloud file whose name may be a user file and whose
// contents decode is restored over the local file. A local file is never deleted without a
// valid cloud copy replacing it.
void InitSteamCloud(bool& clearCloud);
