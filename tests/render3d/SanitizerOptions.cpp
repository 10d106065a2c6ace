// The GL driver's threads hold dynamic TLS blocks that the sanitizer runtime of
// GCC 12 can take for an old glibc header, so that the leak check crashes at
// exit depending only on where a block happens to land. It is told not to
// look at them; other sanitizer options given in the environment still apply.
extern "C" const char* __asan_default_options()
{
    return "intercept_tls_get_addr=0";
}
