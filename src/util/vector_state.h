// The processor's vector registers between libraries: code built for plain SSE runs much
// slower while another library (the GUI toolkit's AVX-512 routines) has left the upper
// halves of the vector registers in use, and new threads inherit that state.
#pragma once

namespace talq {

// Marks the upper halves of the vector registers unused (x86 vzeroupper, where the processor
// has AVX); elsewhere does nothing. Cheap: call it where foreign code may have run.
void ClearUpperVectorState();

}  // namespace talq
