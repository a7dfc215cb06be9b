#pragma once
// The calling thread's error code, as BASS_ErrorGetCode reports it.
namespace audiolib {

void SetError(int code);
int GetError();

// Sets the code and hands back a failure value, so that a call can `return Fail(code, 0)`.
template <typename T>
T Fail(int code, T value) {
    SetError(code);
    return value;
}

}  // namespace audiolib
