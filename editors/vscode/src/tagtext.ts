// Finds the template tag under the cursor in a template's text, as the
// tool's search box takes it: the opening tag alone, or for a block the
// whole snippet up to its closing tag, so that the builder sees the layout
// of the loop body as well.

export interface TagSpan {
  start: number;
  end: number;
}

interface Tag {
  start: number;
  end: number; // past the closing brace
  name: string;
  closing: boolean;
  selfClosed: boolean;
}

const tagHead = /\{(\/?)(zuvi:[A-Za-z_\u0080-\uffff][\w\u0080-\uffff]*)/y;

// The tag whose opening brace is at `at`, read to its closing brace outside
// quotes; undefined where none starts there or it is not closed.
function tagAt(text: string, at: number): Tag | undefined {
  tagHead.lastIndex = at;
  const head = tagHead.exec(text);
  if (!head) {
    return undefined;
  }
  const closing = head[1] === '/';
  let quote = '';
  for (let i = tagHead.lastIndex; i < text.length; ++i) {
    const c = text[i];
    if (quote) {
      quote = c === quote ? '' : quote;
    } else if (!closing && (c === '"' || c === "'")) {
      quote = c;
    } else if (c === '}') {
      return { start: at, end: i + 1, name: head[2], closing, selfClosed: text[i - 1] === '/' };
    } else if (c === '{') {
      return undefined; // another tag starts before this one ended
    }
  }
  return undefined;
}

// Every tag of the text, in order.
function tagsOf(text: string): Tag[] {
  const tags: Tag[] = [];
  for (let at = text.indexOf('{'); at >= 0; at = text.indexOf('{', at + 1)) {
    const tag = tagAt(text, at);
    if (tag) {
      tags.push(tag);
      at = tag.end - 1;
    }
  }
  return tags;
}

// The closing tag that ends the block `tags[index]` opens, counting blocks
// of the same name nested in it; -1 where the block is never closed.
function closerOf(tags: Tag[], index: number): number {
  let depth = 0;
  for (let i = index + 1; i < tags.length; ++i) {
    if (tags[i].name !== tags[index].name || tags[i].selfClosed) {
      continue;
    }
    if (!tags[i].closing) {
      ++depth;
    } else if (depth-- === 0) {
      return i;
    }
  }
  return -1;
}

function openerOf(tags: Tag[], index: number): number {
  let depth = 0;
  for (let i = index - 1; i >= 0; --i) {
    if (tags[i].name !== tags[index].name || tags[i].selfClosed) {
      continue;
    }
    if (tags[i].closing) {
      ++depth;
    } else if (depth-- === 0) {
      return i;
    }
  }
  return -1;
}

// The span of the tag the cursor at `offset` stands on or in: on a block's
// opening or closing tag the whole block; between the tags of a block its
// opening tag is not taken, the innermost tag touching the cursor is.
export function tagSpanAt(text: string, offset: number): TagSpan | undefined {
  const tags = tagsOf(text);
  const index = tags.findIndex((tag) => tag.start <= offset && offset <= tag.end);
  if (index < 0) {
    return undefined;
  }
  const tag = tags[index];
  if (tag.selfClosed) {
    return { start: tag.start, end: tag.end };
  }
  if (tag.closing) {
    const opener = openerOf(tags, index);
    return opener < 0 ? undefined : { start: tags[opener].start, end: tag.end };
  }
  const closer = closerOf(tags, index);
  return { start: tag.start, end: closer < 0 ? tag.end : tags[closer].end };
}
