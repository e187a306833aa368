#include "Evaluator.h"

#include "Cancellation.h"
#include "TileCache.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <tbb/blocked_range.h>
#include <tbb/parallel_for.h>
#include <tbb/task_arena.h>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace pimavo {

namespace {
thread_local const CancelFlag* tCancelFlag = nullptr;
}

CancellationScope::CancellationScope(const CancelFlag* flag) : previous_(tCancelFlag) {
    tCancelFlag = flag;
}

CancellationScope::~CancellationScope() {
    tCancelFlag = previous_;
}

const CancelFlag* currentCancelFlag() {
    return tCancelFlag;
}

} // namespace pimavo

namespace pimavo::eval {

namespace {

std::atomic<uint64_t> gEvaluations{0};
std::atomic<int> gTileSize{kDefaultTileSize};

// The point-wise part of a graph below one node, in topological order (inputs before users); the
// last step is the node itself. Anything that is not point-wise ends the plan as a source step,
// whose pixels come from a tile.
struct Plan {
    struct Step {
        const ImageNode* node;
        bool source;
        std::vector<int> inputs;
        bool greyKept = true; // every consumer takes the step's span as an opaque-grey one
    };
    std::vector<Step> steps;
    std::vector<int> sources; // indices of source steps
};

Plan buildPlan(const ImageNode* root) {
    Plan plan;
    std::unordered_map<const ImageNode*, int> index;
    // Iterative post-order, so deep chains cannot exhaust the stack.
    struct Frame {
        const ImageNode* node;
        std::size_t next;
    };
    std::vector<Frame> stack{{root, 0}};
    while (!stack.empty()) {
        Frame& f = stack.back();
        const bool pointWise = f.node->kind() == ImageNode::Kind::PointWise;
        if (pointWise && f.next < f.node->inputs().size()) {
            const ImageNode* in = f.node->inputs()[f.next++].get();
            if (!index.contains(in)) stack.push_back({in, 0});
            continue;
        }
        if (!index.contains(f.node)) {
            Plan::Step step{f.node, !pointWise, {}};
            if (pointWise)
                for (const NodeRef& in : f.node->inputs()) step.inputs.push_back(index.at(in.get()));
            index[f.node] = int(plan.steps.size());
            if (step.source) plan.sources.push_back(int(plan.steps.size()));
            plan.steps.push_back(std::move(step));
        }
        stack.pop_back();
    }
    for (const Plan::Step& step : plan.steps)
        for (std::size_t i = 0; i < step.inputs.size(); ++i)
            if (!step.node->takesGreyInput(i)) plan.steps[step.inputs[i]].greyKept = false;
    return plan;
}

TileCache::Key blockKey(const ImageNode* node) {
    return {node->id(), INT_MIN, INT_MIN};
}

IntRect gridAligned(const IntRect& r) {
    const int kTileSize = gTileSize.load(std::memory_order_relaxed);
    auto down = [kTileSize](int v) {
        return v >= 0 ? v / kTileSize * kTileSize : -((-v + kTileSize - 1) / kTileSize) * kTileSize;
    };
    auto up = [&](int v) { return down(v + kTileSize - 1); };
    return {down(r.x0), down(r.y0), up(r.x1), up(r.y1)};
}

// State shared by all tasks of one render: the blocks it prepared, read-only once tasks start.
struct Session {
    std::unordered_map<const ImageNode*, TileRef> blocks;
    const CancelFlag* cancel = currentCancelFlag();
};

TileRef computeBlock(const ImageNode* node);

TileRef ensureBlock(const ImageNode* node) {
    node->markCached();
    return TileCache::shared().getOrCompute(blockKey(node), [node] { return computeBlock(node); });
}

// Propagates `rect` down from `root` and computes every block it reaches.
void prepare(Session& session, const ImageNode* root, const IntRect& rect) {
    std::vector<const ImageNode*> order; // post-order
    {
        std::unordered_set<const ImageNode*> seen;
        struct Frame {
            const ImageNode* node;
            std::size_t next;
        };
        std::vector<Frame> stack{{root, 0}};
        seen.insert(root);
        while (!stack.empty()) {
            Frame& f = stack.back();
            if (f.node->kind() != ImageNode::Kind::Block && f.next < f.node->inputs().size()) {
                const ImageNode* in = f.node->inputs()[f.next++].get();
                if (seen.insert(in).second) stack.push_back({in, 0});
                continue;
            }
            order.push_back(f.node);
            stack.pop_back();
        }
    }
    std::unordered_map<const ImageNode*, IntRect> needed;
    needed[root] = rect.intersection(root->pixelExtent());
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        const ImageNode* node = *it;
        const IntRect want = needed[node];
        if (want.isEmpty()) continue;
        switch (node->kind()) {
        case ImageNode::Kind::Block:
            stopIfCancelled(session.cancel);
            session.blocks[node] = ensureBlock(node);
            break;
        case ImageNode::Kind::PointWise:
            for (const NodeRef& in : node->inputs()) {
                IntRect& r = needed[in.get()];
                r = r.unionWith(want.intersection(in->pixelExtent()));
            }
            break;
        case ImageNode::Kind::Region: {
            const IntRect asked =
                node->cacheTiles() ? gridAligned(want).intersection(node->pixelExtent()) : want;
            for (std::size_t i = 0; i < node->inputs().size(); ++i) {
                const ImageNode* in = node->inputs()[i].get();
                IntRect& r = needed[in];
                r = r.unionWith(node->regionOf(i, asked).intersection(in->pixelExtent()));
            }
            break;
        }
        }
    }
}

// The work of one task: one rectangle of the output, or one tile of a region node.
class TaskEval {
public:
    explicit TaskEval(const Session& session) : session_(session) {}
    ~TaskEval() { gEvaluations.fetch_add(evaluations_, std::memory_order_relaxed); }

    // A tile covering rect ∩ extent of `node` (or more), transparent outside its rectangle;
    // nullptr when nothing of the node lies in rect.
    TileRef evalRect(const ImageNode* node, const IntRect& rect) {
        const IntRect r = rect.intersection(node->pixelExtent());
        if (r.isEmpty()) return nullptr;
        for (const auto& m : memo_)
            if (m.node == node && m.tile->rect().contains(r)) return m.tile;
        TileRef tile;
        switch (node->kind()) {
        case ImageNode::Kind::Block: {
            auto it = session_.blocks.find(node);
            tile = it != session_.blocks.end() ? it->second : ensureBlock(node);
            break;
        }
        case ImageNode::Kind::Region:
            tile = node->cacheTiles() ? cachedRegion(node, r) : renderRegion(node, r);
            break;
        case ImageNode::Kind::PointWise: {
            auto t = std::make_shared<Tile>(r);
            PixelStore store{PixelCodec::forFormat(PixelFormat::RGBAf),
                             reinterpret_cast<std::byte*>(t->data()),
                             std::ptrdiff_t(t->rowFloats() * sizeof(float)), r.x0, r.y0};
            runPlan(buildPlan(node), r, store);
            tile = std::move(t);
            break;
        }
        }
        if (tile) memo_.push_back({node, tile});
        return tile;
    }

    void runPlan(const Plan& plan, const IntRect& rect, const PixelStore& store) {
        const std::size_t count = plan.steps.size();
        std::vector<TileRef> sourceTiles(count);
        for (int s : plan.sources) sourceTiles[s] = evalRect(plan.steps[s].node, rect);

        slots_.resize(std::max(slots_.size(), count));
        std::vector<std::vector<const SpanBuffer*>> inputs(count);
        std::vector<IntRect> extents(count);
        for (std::size_t s = 0; s < count; ++s) {
            for (int in : plan.steps[s].inputs) inputs[s].push_back(&slots_[in]);
            extents[s] = plan.steps[s].node->pixelExtent();
        }
        uint64_t spans = 0;
        for (int y = rect.y0; y < rect.y1; ++y) {
            for (int x = rect.x0; x < rect.x1; x += kSpanWidth) {
                const SpanPos pos{x, y, std::min(kSpanWidth, rect.x1 - x)};
                for (std::size_t s = 0; s < count; ++s) {
                    const Plan::Step& step = plan.steps[s];
                    SpanBuffer& out = slots_[s];
                    out.opaqueGrey = false;
                    const IntRect& e = extents[s];
                    const int from = std::clamp(e.x0 - pos.x, 0, pos.n);
                    const int to = std::clamp(e.x1 - pos.x, 0, pos.n);
                    if (y < e.y0 || y >= e.y1 || to <= from) {
                        out.clear(pos.n);
                        continue;
                    }
                    if (step.source) {
                        readSpan(sourceTiles[s].get(), pos, out);
                        continue;
                    }
                    step.node->evalSpan(pos, inputs[s], out);
                    // A grey span goes as it is to the store and to nodes that take it so.
                    if (out.opaqueGrey && (!step.greyKept || from > 0 || to < pos.n)) out.expandGrey(pos.n);
                    ++spans;
                    out.clear(0, from);
                    out.clear(to, pos.n);
                }
                store.store(slots_[count - 1], pos);
            }
        }
        evaluations_ += spans;
    }

private:
    struct Memo {
        const ImageNode* node;
        TileRef tile;
    };

    TileRef renderRegion(const ImageNode* node, const IntRect& r) {
        std::vector<TileRef> inputs;
        inputs.reserve(node->inputs().size());
        for (std::size_t i = 0; i < node->inputs().size(); ++i)
            inputs.push_back(evalRect(node->inputs()[i].get(), node->regionOf(i, r)));
        auto out = std::make_shared<Tile>(r);
        node->renderRegion(inputs, *out);
        ++evaluations_;
        return out;
    }

    TileRef cachedRegion(const ImageNode* node, const IntRect& r) {
        stopIfCancelled(session_.cancel);
        node->markCached();
        const int kTileSize = gTileSize.load(std::memory_order_relaxed);
        const IntRect g = gridAligned(r);
        std::vector<TileRef> pieces;
        for (int ty = g.y0; ty < g.y1; ty += kTileSize) {
            for (int tx = g.x0; tx < g.x1; tx += kTileSize) {
                const IntRect cell =
                    IntRect::fromXYWH(tx, ty, kTileSize, kTileSize).intersection(node->pixelExtent());
                pieces.push_back(TileCache::shared().getOrCompute({node->id(), tx, ty}, [&] {
                    TaskEval sub(session_);
                    return sub.renderRegion(node, cell);
                }));
            }
        }
        if (pieces.size() == 1) return pieces.front();
        auto out = std::make_shared<Tile>(r);
        for (const TileRef& p : pieces) {
            const IntRect part = p->rect().intersection(r);
            if (part.isEmpty()) continue;
            for (int y = part.y0; y < part.y1; ++y)
                std::copy_n(p->pixel(part.x0, y), std::size_t(part.width()) * 4, out->pixel(part.x0, y));
        }
        return out;
    }

    const Session& session_;
    std::vector<Memo> memo_;
    std::vector<SpanBuffer> slots_;
    uint64_t evaluations_ = 0;
};

// Rows of a point-wise input, each computed when asked; the blocks it needs are prepared once.
class PlanRows final : public RowSource {
public:
    PlanRows(const NodeRef& input, const IntRect& rect) : plan_(buildPlan(input.get())) {
        prepare(session_, input.get(), rect);
    }
    // Asked from the pool's threads: the flag is the one of the render that made the rows.
    void readRow(int y, int x0, int x1, float* dst) const override {
        stopIfCancelled(session_.cancel);
        if (x1 <= x0) return;
        TaskEval task(session_);
        PixelStore store{PixelCodec::forFormat(PixelFormat::RGBAf), reinterpret_cast<std::byte*>(dst), 0, x0,
                         y};
        task.runPlan(plan_, {x0, y, x1, y + 1}, store);
    }
    // Streaming pays when rows cost no more than they would as part of a tile: no region nodes.
    bool worthStreaming() const {
        for (int s : plan_.sources)
            if (plan_.steps[s].node->kind() == ImageNode::Kind::Region) return false;
        return true;
    }

private:
    Session session_;
    Plan plan_;
};

TileRef computeBlock(const ImageNode* node) {
    stopIfCancelled(currentCancelFlag());
    if (node->streamsInput() && node->inputs().size() == 1) {
        const IntRect rect = node->blockInputRect(0).intersection(node->inputs()[0]->pixelExtent());
        PlanRows rows(node->inputs()[0], rect);
        if (rows.worthStreaming()) {
            auto tile = std::make_shared<Tile>(node->renderBlockFromRows(rows, rect));
            gEvaluations.fetch_add(1, std::memory_order_relaxed);
            return tile;
        }
    }
    std::vector<TileRef> inputs;
    for (std::size_t i = 0; i < node->inputs().size(); ++i)
        inputs.push_back(renderTile(node->inputs()[i], node->blockInputRect(i)));
    auto tile = std::make_shared<Tile>(node->renderBlock(inputs));
    gEvaluations.fetch_add(1, std::memory_order_relaxed);
    return tile;
}

// The pool's threads render under the flag of the render that spread the work over them.
void forEachParallel(std::size_t count, const std::function<void(std::size_t)>& fn) {
    const CancelFlag* cancel = currentCancelFlag();
    if (count == 1) {
        stopIfCancelled(cancel);
        fn(0);
        return;
    }
    tbb::this_task_arena::isolate([&] {
        tbb::parallel_for(tbb::blocked_range<std::size_t>(0, count, 1),
                          [&](const tbb::blocked_range<std::size_t>& r) {
                              CancellationScope scope(cancel);
                              for (std::size_t i = r.begin(); i != r.end(); ++i) {
                                  stopIfCancelled(cancel);
                                  fn(i);
                              }
                          });
    });
}

} // namespace

void renderRects(const NodeRef& root, std::span<const IntRect> rects,
                 const std::function<PixelStore(std::size_t)>& storeFor) {
    if (!root || rects.empty()) return;
    IntRect all;
    for (const IntRect& r : rects) all = all.unionWith(r);
    if (all.isEmpty()) return;

    Session session;
    prepare(session, root.get(), all);
    const Plan plan = buildPlan(root.get());
    forEachParallel(rects.size(), [&](std::size_t i) {
        if (rects[i].isEmpty()) return;
        TaskEval task(session);
        task.runPlan(plan, rects[i], storeFor(i));
    });
}

void render(const NodeRef& root, const IntRect& rect, const PixelStore& store) {
    if (!root || rect.isEmpty()) return;
    std::vector<IntRect> tiles;
    const int kTileSize = gTileSize.load(std::memory_order_relaxed);
    const IntRect g = gridAligned(rect);
    for (int ty = g.y0; ty < g.y1; ty += kTileSize)
        for (int tx = g.x0; tx < g.x1; tx += kTileSize)
            tiles.push_back(IntRect::fromXYWH(tx, ty, kTileSize, kTileSize).intersection(rect));
    renderRects(root, tiles, [&](std::size_t) { return store; });
}

TileRef renderTile(const NodeRef& root, const IntRect& rect) {
    if (!root) return nullptr;
    const IntRect r = rect.intersection(root->pixelExtent());
    if (r.isEmpty()) return nullptr;
    if (root->kind() == ImageNode::Kind::Block && r == root->pixelExtent()) return ensureBlock(root.get());
    auto tile = std::make_shared<Tile>(r);
    PixelStore store{PixelCodec::forFormat(PixelFormat::RGBAf), reinterpret_cast<std::byte*>(tile->data()),
                     std::ptrdiff_t(tile->rowFloats() * sizeof(float)), r.x0, r.y0};
    render(root, r, store);
    return tile;
}

int tileSize() {
    return gTileSize.load();
}

void setTileSize(int size) {
    size = std::max(size, 1);
    if (gTileSize.exchange(size) != size) TileCache::shared().clear();
}

uint64_t evaluationCount() {
    return gEvaluations.load();
}
void resetEvaluationCount() {
    gEvaluations.store(0);
}

} // namespace pimavo::eval
