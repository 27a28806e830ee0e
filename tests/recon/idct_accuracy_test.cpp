// IEEE Std 1180-1990 accuracy of every inverse DCT, against a double-precision reference
// computed here by the direct formula.

#include "recon/idct.h"
#include "recon/routine_types.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace quarnel {
namespace {

using Block = std::array<std::int16_t, 64>;

struct Member {
    const char* name;
    IdctRoutine idct;
};

std::vector<Member> all_members() {
    std::vector<Member> m{{"reference", idct_reference},
                          {"reference_single", idct_reference_single},
                          {"integer", idct_integer},
                          {"row_table", idct_row_table}};
#if QUARNEL_RECON_MMX
    m.push_back({"integer_mmx", idct_integer_mmx});
    m.push_back({"row_table_mmx", idct_row_table_mmx});
#endif
#if QUARNEL_RECON_SSE
    m.push_back({"reference_sse", idct_reference_sse});
    m.push_back({"row_table_sse", idct_row_table_sse});
#endif
#if QUARNEL_RECON_SSE2
    m.push_back({"row_table_sse2", idct_row_table_sse2});
#endif
    return m;
}

double basis(int u, int x) {
    const double pi = 4.0 * std::atan(1.0);
    return (u == 0 ? std::sqrt(0.125) : 0.5) * std::cos((2 * x + 1) * u * pi / 16);
}

// One run of the test: blocks of coefficients and the reference's output for each.
struct AccuracyRun {
    std::vector<Block> coefficients;
    std::vector<Block> expected;
};

AccuracyRun make_run(int low, int high, int sign, std::uint32_t seed) {
    static const auto c = [] {
        std::array<std::array<double, 8>, 8> m{};
        for (int u = 0; u < 8; ++u)
            for (int x = 0; x < 8; ++x) m[u][x] = basis(u, x);
        return m;
    }();
    auto transform = [](const std::array<double, 64>& in, bool inverse) {
        std::array<double, 64> tmp{}, out{};
        for (int i = 0; i < 8; ++i)  // along rows
            for (int k = 0; k < 8; ++k) {
                double s = 0;
                for (int j = 0; j < 8; ++j) s += (inverse ? c[j][k] : c[k][j]) * in[8 * i + j];
                tmp[8 * i + k] = s;
            }
        for (int j = 0; j < 8; ++j)  // along columns
            for (int k = 0; k < 8; ++k) {
                double s = 0;
                for (int i = 0; i < 8; ++i) s += (inverse ? c[i][k] : c[k][i]) * tmp[8 * i + j];
                out[8 * k + j] = s;
            }
        return out;
    };
    AccuracyRun run;
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> value(low, high);
    constexpr int blocks = 10000;
    run.coefficients.resize(blocks);
    run.expected.resize(blocks);
    for (int b = 0; b < blocks; ++b) {
        std::array<double, 64> spatial{};
        for (auto& s : spatial) s = sign * value(rng);
        const auto f = transform(spatial, false);
        std::array<double, 64> rounded{};
        for (int i = 0; i < 64; ++i) {
            rounded[i] = std::clamp(std::floor(f[i] + 0.5), -2048.0, 2047.0);
            run.coefficients[b][i] = static_cast<std::int16_t>(rounded[i]);
        }
        const auto r = transform(rounded, true);
        for (int i = 0; i < 64; ++i)
            run.expected[b][i] =
                static_cast<std::int16_t>(std::clamp(std::floor(r[i] + 0.5), -256.0, 255.0));
    }
    return run;
}

struct RunSpec {
    int low, high, sign;
};
constexpr std::array<RunSpec, 6> run_specs{
    {{-256, 255, 1}, {-256, 255, -1}, {-5, 5, 1}, {-5, 5, -1}, {-300, 300, 1}, {-300, 300, -1}}};

// Each run is generated on first use, so a test process builds only the runs it measures.
const AccuracyRun& run_at(std::size_t i) {
    static std::array<std::optional<AccuracyRun>, run_specs.size()> cache;
    if (!cache[i]) {
        const RunSpec& r = run_specs[i];
        cache[i] = make_run(r.low, r.high, r.sign, static_cast<std::uint32_t>(i + 1));
    }
    return *cache[i];
}

struct Figures {
    int peak = 0;
    double worst_pixel_mse = 0, overall_mse = 0, worst_pixel_mean = 0, overall_mean = 0;
};

Figures measure(IdctRoutine idct, const AccuracyRun& run) {
    std::array<double, 64> sum{}, sum_sq{};
    Figures f;
    for (std::size_t b = 0; b < run.coefficients.size(); ++b) {
        Block out = run.coefficients[b];
        idct(out.data());
        for (int i = 0; i < 64; ++i) {
            // The procedure clips the output under test too; the row-table family leaves
            // that to the block store.
            const int e = std::clamp<int>(out[i], -256, 255) - run.expected[b][i];
            f.peak = std::max(f.peak, std::abs(e));
            sum[i] += e;
            sum_sq[i] += e * e;
        }
    }
    const double n = static_cast<double>(run.coefficients.size());
    for (int i = 0; i < 64; ++i) {
        f.worst_pixel_mse = std::max(f.worst_pixel_mse, sum_sq[i] / n);
        f.worst_pixel_mean = std::max(f.worst_pixel_mean, std::abs(sum[i] / n));
        f.overall_mse += sum_sq[i] / n / 64;
        f.overall_mean += sum[i] / n / 64;
    }
    f.overall_mean = std::abs(f.overall_mean);
    return f;
}

class IdctAccuracy : public testing::TestWithParam<Member> {};
class IdctIeee1180 : public testing::TestWithParam<std::tuple<Member, std::size_t>> {};

TEST_P(IdctIeee1180, MeetsTheAccuracyLimits) {
    const AccuracyRun& run = run_at(std::get<1>(GetParam()));
    const Figures f = measure(std::get<0>(GetParam()).idct, run);
    RecordProperty("figures", "peak " + std::to_string(f.peak) + " pmse " +
                                  std::to_string(f.worst_pixel_mse) + " omse " +
                                  std::to_string(f.overall_mse) + " pme " +
                                  std::to_string(f.worst_pixel_mean) + " ome " +
                                  std::to_string(f.overall_mean));
    EXPECT_LE(f.peak, 1);
    EXPECT_LE(f.worst_pixel_mse, 0.06);
    EXPECT_LE(f.overall_mse, 0.02);
    EXPECT_LE(f.worst_pixel_mean, 0.015);
    EXPECT_LE(f.overall_mean, 0.0015);
}

TEST_P(IdctAccuracy, ZeroBlockStaysZero) {
    Block b{};
    GetParam().idct(b.data());
    EXPECT_EQ(b, Block{});
}

// A flat block of any level (the DC-only shortcut of the integer transform among others)
// must give the reference's flat output, negative levels included.
TEST_P(IdctAccuracy, FlatBlocksMatchTheReference) {
    for (int dc = -2048; dc <= 2040; ++dc) {  // the row-table transform does not clamp
        Block b{};
        b[0] = static_cast<std::int16_t>(dc);
        GetParam().idct(b.data());
        const int expected = std::clamp(static_cast<int>(std::floor(dc / 8.0 + 0.5)), -256, 255);
        for (int i = 0; i < 64; ++i)
            ASSERT_LE(std::abs(b[i] - expected), dc % 8 == 0 ? 0 : 1) << "dc " << dc << " at " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryMemberAndRun, IdctIeee1180,
                         testing::Combine(testing::ValuesIn(all_members()),
                                          testing::Range<std::size_t>(0, run_specs.size())),
                         [](const auto& p) {
                             const RunSpec& r = run_specs[std::get<1>(p.param)];
                             return std::string(std::get<0>(p.param).name) + "_" +
                                    std::to_string(-r.low) + "_" + std::to_string(r.high) +
                                    (r.sign < 0 ? "_flipped" : "");
                         });

INSTANTIATE_TEST_SUITE_P(EveryMember, IdctAccuracy, testing::ValuesIn(all_members()),
                         [](const auto& member) { return std::string(member.param.name); });

// Largest difference between two members over the first blocks of the widest runs.
int largest_difference(IdctRoutine a, IdctRoutine b) {
    int worst = 0;
    for (std::size_t r : {0, 5}) {
        const auto& blocks = run_at(r).coefficients;
        for (auto it = blocks.begin(); it != blocks.begin() + 3000; ++it) {
            const Block& coefficients = *it;
            Block x = coefficients, y = coefficients;
            a(x.data());
            b(y.data());
            for (int i = 0; i < 64; ++i) worst = std::max(worst, std::abs(x[i] - y[i]));
        }
    }
    return worst;
}

TEST(IdctSimdMembers, AgreeWithTheirPortableMember) {
#if QUARNEL_RECON_MMX
    // Same tables and rounding: the row-table members reproduce the portable one exactly.
    EXPECT_EQ(largest_difference(idct_row_table_mmx, idct_row_table), 0);
    // Own constants and row precision: within one step.
    EXPECT_LE(largest_difference(idct_integer_mmx, idct_integer), 1);
#endif
#if QUARNEL_RECON_SSE
    EXPECT_EQ(largest_difference(idct_row_table_sse, idct_row_table), 0);
    EXPECT_LE(largest_difference(idct_reference_sse, idct_reference_single), 1);
#endif
#if QUARNEL_RECON_SSE2
    EXPECT_EQ(largest_difference(idct_row_table_sse2, idct_row_table), 0);
#endif
}

}  // namespace
}  // namespace quarnel
