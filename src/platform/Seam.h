#pragma once

// A piece of the desktop that tests may replace: the real implementation unless a stand-in has
// been installed. The installer keeps ownership of its stand-in.
namespace Platform {

template <typename Interface>
class Seam {
public:
    template <typename Real>
    static Interface &get()
    {
        static Real real;
        return standIn() ? *standIn() : real;
    }
    static void replace(Interface *fake) { standIn() = fake; }

private:
    static Interface *&standIn()
    {
        static Interface *fake = nullptr;
        return fake;
    }
};

} // namespace Platform
