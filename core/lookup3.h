#pragma once
// Bob Jenkins' lookup3 "hashlittle" hash (public-domain algorithm, 2006), written for
// this program. Bytes are taken one at a time, so the result does not depend on the
// alignment of the key and equals the published function on every machine.
#include <cstddef>
#include <cstdint>

uint32_t hashlittle(const void* key, size_t length, uint32_t initval);
