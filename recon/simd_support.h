#pragma once
// Which instruction sets the compiler targets. A routine family's MMX, SSE or SSE2 member
// exists only when its set is available; selection falls back to the portable member.

#if defined(__MMX__)
#define QUARNEL_RECON_MMX 1
#else
#define QUARNEL_RECON_MMX 0
#endif

// The SSE members use SSE integer instructions on MMX registers as well.
#if defined(__SSE__) && QUARNEL_RECON_MMX
#define QUARNEL_RECON_SSE 1
#else
#define QUARNEL_RECON_SSE 0
#endif

// The SSE2 prediction kernel table builds on the SSE one.
#if defined(__SSE2__) && QUARNEL_RECON_SSE
#define QUARNEL_RECON_SSE2 1
#else
#define QUARNEL_RECON_SSE2 0
#endif
